#include "controls/HintMarkup.h"

#include "base/Casefold.h"
#include "platform/Canvas.h"

namespace tov {

namespace {

constexpr size_t npos = std::string::npos;

std::string AfterTagTrimmed(const std::string& s, size_t closing) {
  size_t from = closing + 1;
  while (from < s.size() && s[from] == ' ')
    ++from;
  return s.substr(from);
}

}  // namespace

size_t FindNext(std::string_view text, std::string_view pattern, size_t start) {
  if (pattern.empty() || start >= text.size()) return npos;
  return text.find(pattern, start);
}

void ParseLine(std::string s, std::vector<std::string>& lines, std::vector<int>& alignments) {
  auto add = [&](std::string text, int alignment) {
    lines.push_back(std::move(text));
    alignments.push_back(alignment);
  };
  size_t p = 0;
  int current = haLeft;  // alignment of the text that follows
  int block = haLeft;    // alignment of the last opened block
  for (;;) {
    if (s.empty()) {
      add(s, current);
      return;
    }
    size_t l = FindNext(s, "<", p), g = FindNext(s, ">", p);
    if (l == npos || g == npos) {
      add(s, current);
      return;
    }
    if (g < l) {  // a lone ">" is text
      p = g + 1;
      continue;
    }
    std::string tag = UpperCaseText(s.substr(l + 1, g - l - 1));
    if (tag == "CENTER" || tag == "RIGHT") {
      if (l > 0) add(s.substr(0, l), current);
      block = current = tag == "CENTER" ? haCenter : haRight;
      s = AfterTagTrimmed(s, g);
      p = 0;
    } else if (tag == "BR") {
      add(s.substr(0, l), current);
      s = AfterTagTrimmed(s, g);
      p = 0;
    } else if (tag == "/CENTER" || tag == "/RIGHT") {
      add(s.substr(0, l), block);
      s = AfterTagTrimmed(s, g);
      p = 0;
      current = haLeft;
      if (s.empty()) return;
    } else {
      p = l + 1;  // not ours: it stays in the line
    }
  }
}

uint32_t StyleTagBit(std::string_view name, bool* on) {
  *on = name.empty() || name[0] != '/';
  if (!*on) name.remove_prefix(1);
  if (SameTextAscii(name, "B")) return kFontBold;
  if (SameTextAscii(name, "I")) return kFontItalic;
  if (SameTextAscii(name, "U")) return kFontUnderline;
  if (SameTextAscii(name, "STRIKE")) return kFontStrikeOut;
  return 0;
}

std::vector<THintSegment> SplitStyleTags(std::string_view text) {
  std::vector<THintSegment> out;
  size_t pos = 0;
  for (;;) {
    size_t l = FindNext(text, "<", pos);
    size_t g = l == npos ? npos : FindNext(text, ">", l + 1);
    if (g == npos) break;
    bool on = false;
    uint32_t bit = StyleTagBit(text.substr(l + 1, g - l - 1), &on);
    if (bit != 0) {
      out.push_back({text.substr(pos, l - pos), bit, on});
    } else {
      out.push_back({text.substr(pos, g + 1 - pos), 0, false});  // brackets included
    }
    pos = g + 1;
  }
  out.push_back({text.substr(pos), 0, false});
  return out;
}

bool OnlyContainsTags(std::string_view text) {
  if (text.empty()) return false;
  while (!text.empty()) {
    if (text[0] != '<') return false;
    size_t g = FindNext(text, ">", 1);
    if (g == npos) return false;
    // Bracketed text that is no style tag is text to show, so the line is
    // not one of tags only.
    bool on = false;
    if (StyleTagBit(text.substr(1, g - 1), &on) == 0) return false;
    text.remove_prefix(g + 1);
  }
  return true;
}

}  // namespace tov
