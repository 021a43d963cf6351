#include "base/Strings.h"

#include <charconv>
#include <cmath>

namespace tov {

static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b]))
    ++b;
  while (e > b && IsBlank(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

std::string TextBefore(const std::string& text, const std::string& separator, bool wholeIfMissing) {
  size_t p = separator.empty() ? std::string::npos : text.find(separator);
  if (p == std::string::npos) return wholeIfMissing ? text : std::string();
  return text.substr(0, p);
}

bool ParseFloat(const std::string& text, char decimalSeparator, double* out) {
  std::string s = Trim(text);
  // Only the locale's own separator counts; the C conversion wants ".".
  std::string plain;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9')
    plain += s[i++], ++digits;
  if (i < s.size() && s[i] == decimalSeparator) {
    plain += '.';
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
      plain += s[i++], ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
      plain += s[i++], ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != s.size()) return false;
  const char* begin = plain.data();
  if (*begin == '+') ++begin;
  double v = 0;
  auto [end, ec] = std::from_chars(begin, plain.data() + plain.size(), v);
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

size_t FirstCharPos(const std::string& text, const std::string& chars) {
  for (char c : chars) {
    size_t p = text.find(c);
    if (p != std::string::npos) return p + 1;
  }
  return 0;
}

std::vector<std::string> SplitText(const std::string& text, std::string_view separator, bool trimLast) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t p = text.find(separator, start);
    if (p == std::string::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, p - start));
    start = p + separator.size();
  }
  if (trimLast && !pieces.empty()) pieces.back() = Trim(pieces.back());
  return pieces;
}

std::string JoinLinesAt(const std::string& text, std::string_view separator) {
  std::string out;
  std::vector<std::string> pieces = SplitText(text, separator, false);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i) out += "\r\n";
    out += pieces[i];
  }
  return out;
}

std::string WithTrailingBackslash(const std::string& path) {
  std::string p = Trim(path);
  if (p.empty() || p.back() != '\\') p += '\\';
  return p;
}

std::vector<std::string> TextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string FormatText(std::string text, const std::vector<std::string>& args) {
  size_t at = 0;
  for (const std::string& arg : args) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, arg);
    at += arg.size();
  }
  return text;
}

}  // namespace tov
