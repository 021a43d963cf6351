#include "settings/IniFile.h"

#include <cstring>

#include "platform/Platform.h"

namespace tov {

namespace {

// Blanks around names and values in the file: space, tab and vertical tab.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

}  // namespace

bool SameIniName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

namespace {

// Names given by the caller lose their leading and trailing spaces (spaces
// only: a tab stays in the name).
std::string TrimSpaces(const char* s) {
  std::string t = s;
  size_t b = t.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  size_t e = t.find_last_not_of(' ');
  return t.substr(b, e - b + 1);
}

enum class LineKind { Outside, Blank, Comment, Section, Entry, EntryWithoutValue };

struct Line {
  size_t begin = 0;  // first byte of the line
  size_t end = 0;    // end of its text, before the line break
  size_t next = 0;   // first byte after the line break
  LineKind kind = LineKind::Blank;
  std::string name;       // section or key name, blanks removed
  std::string value;      // the value, blanks removed (entries only)
  size_t nameEnd = 0;     // end of the key name in the file
  size_t valueBegin = 0;  // first byte after "=" (entries only)
};

std::vector<Line> ParseLines(const std::string& bytes) {
  std::vector<Line> lines;
  bool inSection = false;
  size_t pos = 0;
  while (pos < bytes.size()) {
    Line line;
    line.begin = pos;
    size_t brk = bytes.find_first_of("\r\n", pos);
    if (brk == std::string::npos) {
      line.end = line.next = bytes.size();
    } else {
      line.end = brk;
      line.next = brk + 1;
      if (bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n') line.next = brk + 2;
    }
    pos = line.next;
    size_t b = line.begin, e = line.end;
    while (b < e && IsBlank(bytes[b]))
      ++b;
    while (e > b && IsBlank(bytes[e - 1]))
      --e;
    if (b == e) {
      line.kind = inSection ? LineKind::Blank : LineKind::Outside;
    } else if (bytes[b] == '[') {
      // The name ends at the first "]" or at the end of the line; what
      // follows the "]" is ignored.
      size_t nb = b + 1;
      size_t ne = bytes.find(']', nb);
      if (ne == std::string::npos || ne > e) ne = e;
      while (nb < ne && IsBlank(bytes[nb]))
        ++nb;
      while (ne > nb && IsBlank(bytes[ne - 1]))
        --ne;
      line.kind = LineKind::Section;
      line.name = bytes.substr(nb, ne - nb);
      inSection = true;
    } else if (!inSection) {
      line.kind = LineKind::Outside;
    } else if (bytes[b] == ';') {
      line.kind = LineKind::Comment;
    } else {
      size_t eq = bytes.find('=', b);
      if (eq != std::string::npos && eq < e) {
        size_t ne = eq;
        while (ne > b && IsBlank(bytes[ne - 1]))
          --ne;
        size_t vb = eq + 1;
        while (vb < e && IsBlank(bytes[vb]))
          ++vb;
        line.kind = LineKind::Entry;
        line.name = bytes.substr(b, ne - b);
        line.nameEnd = ne;
        line.value = bytes.substr(vb, e - vb);
        line.valueBegin = eq + 1;
      } else {
        line.kind = LineKind::EntryWithoutValue;
        line.name = bytes.substr(b, e - b);
        line.nameEnd = e;
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool IsEntry(const Line& l) {
  return l.kind == LineKind::Entry || l.kind == LineKind::EntryWithoutValue;
}

// Index of the first section line of that name, or lines.size().
size_t FindSection(const std::vector<Line>& lines, const std::string& name) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].kind == LineKind::Section && SameIniName(lines[i].name, name)) return i;
  return lines.size();
}

// One past the last line of the section that starts at line `head`.
size_t SectionEnd(const std::vector<Line>& lines, size_t head) {
  size_t i = head + 1;
  while (i < lines.size() && lines[i].kind != LineKind::Section)
    ++i;
  return i;
}

size_t FindKeyLine(const std::vector<Line>& lines, size_t head, const std::string& key) {
  size_t end = SectionEnd(lines, head);
  for (size_t i = head + 1; i < end; ++i)
    if (IsEntry(lines[i]) && SameIniName(lines[i].name, key)) return i;
  return lines.size();
}

// A value enclosed in matching double or single quotes comes back without them.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

uint32_t CopyText(const std::string& text, char* buf, uint32_t size) {
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return static_cast<uint32_t>(n);
}

// A listing: each name with its zero byte, then one more zero byte. When that
// does not fit, the buffer holds the first size - 2 characters and two zero
// bytes, and the answer is size - 2.
uint32_t CopyList(const std::vector<std::string>& names, char* buf, uint32_t size) {
  if (size < 2) {
    buf[0] = '\0';
    return 0;
  }
  std::string all;
  for (const std::string& n : names) {
    all += n;
    all += '\0';
  }
  if (all.size() <= size - 2) {
    std::memcpy(buf, all.data(), all.size());
    buf[all.size()] = '\0';
    return static_cast<uint32_t>(all.size());
  }
  std::memcpy(buf, all.data(), size - 2);
  buf[size - 2] = '\0';
  buf[size - 1] = '\0';
  return size - 2;
}

bool EndsWithLineBreak(const std::string& bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

}  // namespace

uint32_t ProfileGetString(const std::string& bytes, bool exists, const char* section, const char* key, const char* def,
                          char* buf, uint32_t size) {
  if (buf == nullptr || size == 0) return 0;
  // Trailing spaces of the default are dropped (a default of spaces keeps one).
  std::string defText = def ? def : "";
  while (defText.size() > 1 && defText.back() == ' ')
    defText.pop_back();

  if (section == nullptr) {
    std::vector<std::string> names;
    if (exists)
      for (const Line& l : ParseLines(bytes))
        if (l.kind == LineKind::Section && !l.name.empty()) names.push_back(l.name);
    if (names.empty()) {
      buf[0] = '\0';
      return 0;
    }
    return CopyList(names, buf, size);
  }
  if (!exists) return CopyText(defText, buf, size);

  std::vector<Line> lines = ParseLines(bytes);
  size_t head = FindSection(lines, TrimSpaces(section));
  if (key == nullptr) {
    std::vector<std::string> names;
    if (head < lines.size()) {
      size_t end = SectionEnd(lines, head);
      for (size_t i = head + 1; i < end; ++i)
        if (lines[i].kind == LineKind::Entry) names.push_back(lines[i].name);
    }
    // An empty listing gives the default instead.
    if (names.empty()) return CopyText(defText, buf, size);
    return CopyList(names, buf, size);
  }
  if (head < lines.size()) {
    size_t at = FindKeyLine(lines, head, TrimSpaces(key));
    if (at < lines.size() && lines[at].kind == LineKind::Entry) return CopyText(Unquote(lines[at].value), buf, size);
  }
  return CopyText(defText, buf, size);
}

bool ProfileWriteString(std::string* bytes, const char* section, const char* key, const char* value) {
  if (section == nullptr) return false;
  const std::string sec = TrimSpaces(section);
  std::vector<Line> lines = ParseLines(*bytes);
  size_t head = FindSection(lines, sec);

  if (key == nullptr) {
    // The section's header and entries go; its comments and blank lines stay.
    if (head == lines.size()) return true;
    size_t end = SectionEnd(lines, head);
    std::string out = bytes->substr(0, lines[head].begin);
    for (size_t i = head + 1; i < end; ++i)
      if (!IsEntry(lines[i])) out.append(*bytes, lines[i].begin, lines[i].next - lines[i].begin);
    if (end < lines.size()) out.append(*bytes, lines[end].begin, std::string::npos);
    *bytes = std::move(out);
    return true;
  }
  const std::string k = TrimSpaces(key);
  if (value == nullptr) {
    if (head == lines.size()) return true;
    size_t at = FindKeyLine(lines, head, k);
    if (at < lines.size()) bytes->erase(lines[at].begin, lines[at].next - lines[at].begin);
    return true;
  }

  if (head == lines.size()) {
    std::string add;
    if (!bytes->empty() && !EndsWithLineBreak(*bytes)) add = "\r\n";
    add += "[" + sec + "]\r\n" + k + "=" + value + "\r\n";
    *bytes += add;
    return true;
  }
  size_t at = FindKeyLine(lines, head, k);
  if (at < lines.size()) {
    // In place: the line keeps everything up to its "=" (a line without "="
    // keeps its name and gets one) and its own line break.
    const Line& l = lines[at];
    std::string lead = l.kind == LineKind::Entry ? bytes->substr(l.begin, l.valueBegin - l.begin)
                                                 : bytes->substr(l.begin, l.nameEnd - l.begin) + "=";
    std::string brk = l.next > l.end ? bytes->substr(l.end, l.next - l.end) : std::string("\r\n");
    bytes->replace(l.begin, l.next - l.begin, lead + value + brk);
    return true;
  }
  // A new key goes right after the last entry of its section (comments and
  // blank lines after it stay after it), or right after the header.
  size_t end = SectionEnd(lines, head);
  size_t after = head;
  for (size_t i = head + 1; i < end; ++i)
    if (IsEntry(lines[i])) after = i;
  const Line& l = lines[after];
  std::string add = k + "=" + value + "\r\n";
  if (l.next == l.end) add = "\r\n" + add;  // the last line of the file had no line break
  bytes->insert(l.next, add);
  return true;
}

uint32_t IniGetString(const char* section, const char* key, const char* def, char* buf, uint32_t size,
                      const std::string& path) {
  std::string bytes;
  bool exists = !path.empty() && Files().FileExists(path) && Files().ReadFile(path, &bytes);
  return ProfileGetString(bytes, exists, section, key, def, buf, size);
}

bool IniWriteString(const char* section, const char* key, const char* value, const std::string& path) {
  if (section == nullptr || path.empty()) return false;
  std::string bytes;
  bool exists = Files().FileExists(path);
  if (exists && !Files().ReadFile(path, &bytes)) return false;
  const std::string before = bytes;
  if (!ProfileWriteString(&bytes, section, key, value)) return false;
  if (exists && bytes == before) return true;
  return WriteFileSafely(Files(), path, bytes);
}

std::vector<std::string> SplitProfileList(const char* buf, uint32_t count) {
  std::vector<std::string> names;
  uint32_t start = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (buf[i] == '\0') {
      names.emplace_back(buf + start, i - start);
      start = i + 1;
    }
  }
  if (start < count) names.emplace_back(buf + start, count - start);
  return names;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  std::vector<char> buf(kIniValueBuffer);
  uint32_t n = IniGetString(section.c_str(), key.c_str(), def.c_str(), buf.data(), kIniValueBuffer, path_);
  return std::string(buf.data(), n);
}

bool TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  return IniWriteString(section.c_str(), key.c_str(), value.c_str(), path_);
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<char> buf(kIniListBuffer);
  uint32_t n = IniGetString(nullptr, nullptr, nullptr, buf.data(), kIniListBuffer, path_);
  return SplitProfileList(buf.data(), n);
}

std::vector<std::string> TIniFile::ReadSectionKeys(const std::string& section) const {
  std::vector<char> buf(kIniListBuffer);
  uint32_t n = IniGetString(section.c_str(), nullptr, "", buf.data(), kIniListBuffer, path_);
  return SplitProfileList(buf.data(), n);
}

bool TIniFile::SectionExists(const std::string& section) const {
  std::string bytes;
  if (!Files().FileExists(path_) || !Files().ReadFile(path_, &bytes)) return false;
  std::vector<Line> lines = ParseLines(bytes);
  return FindSection(lines, TrimSpaces(section.c_str())) < lines.size();
}

bool TIniFile::EraseSection(const std::string& section) {
  return IniWriteString(section.c_str(), nullptr, nullptr, path_);
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  return IniWriteString(section.c_str(), key.c_str(), nullptr, path_);
}

}  // namespace tov
