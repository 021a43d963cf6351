#include "settings/IniFile.h"

#include <cstring>

#include "base/AnsiText.h"
#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "platform/Platform.h"

namespace tov {

namespace {

// The engine works on the text of a file in its own encoding: UTF-8 (a file
// of an earlier release in the ANSI code page converted first), or UTF-16
// code units for a file that starts with the UTF-16 little-endian byte order
// mark (which Windows reads and writes as Unicode).
template <class C>
bool IsBlank(C c) {
  return c == C(' ') || c == C('\t') || c == C('\v');
}

// Section and key names compare by the case of ASCII letters only, in UTF-8
// and UTF-16 files alike: "[Città]" is not found as "CITTÀ". That is
// how the system's profile functions answer under Wine (tests/IniCases.h and
// tests/win32/NameCaseTest.cpp run the same names through both); file and
// registry names, by contrast, fold the letters of all of Unicode.
template <class S>
bool SameName(const S& a, const S& b) {
  return SameTextAscii(a, b);
}

template <class S>
S Lit(const char* ascii) {
  S out;
  for (; *ascii; ++ascii)
    out += typename S::value_type(static_cast<unsigned char>(*ascii));
  return out;
}

// Names given by the caller lose their leading and trailing spaces (spaces
// only: a tab stays in the name).
template <class S>
S TrimSpaces(const S& t) {
  using C = typename S::value_type;
  size_t b = t.find_first_not_of(C(' '));
  if (b == S::npos) return S();
  size_t e = t.find_last_not_of(C(' '));
  return t.substr(b, e - b + 1);
}

enum class LineKind { Outside, Blank, Comment, Section, Entry, EntryWithoutValue };

template <class S>
struct Line {
  size_t begin = 0;  // first character of the line
  size_t end = 0;    // end of its text, before the line break
  size_t next = 0;   // first character after the line break
  LineKind kind = LineKind::Blank;
  S name;                 // section or key name, blanks removed
  S value;                // the value, blanks removed (entries only)
  size_t nameEnd = 0;     // end of the key name in the file
  size_t valueBegin = 0;  // first character after "=" (entries only)
};

template <class S>
std::vector<Line<S>> ParseLines(const S& text) {
  using C = typename S::value_type;
  std::vector<Line<S>> lines;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    Line<S> line;
    line.begin = pos;
    size_t brk = pos;
    while (brk < text.size() && text[brk] != C('\r') && text[brk] != C('\n'))
      ++brk;
    line.end = line.next = brk;
    if (brk < text.size()) {
      line.next = brk + 1;
      if (text[brk] == C('\r') && brk + 1 < text.size() && text[brk + 1] == C('\n')) line.next = brk + 2;
    }
    pos = line.next;
    size_t b = line.begin, e = line.end;
    while (b < e && IsBlank(text[b]))
      ++b;
    while (e > b && IsBlank(text[e - 1]))
      --e;
    if (b == e) {
      line.kind = inSection ? LineKind::Blank : LineKind::Outside;
    } else if (text[b] == C('[')) {
      // The name ends at the first "]" or at the end of the line; what
      // follows the "]" is ignored.
      size_t nb = b + 1;
      size_t ne = nb;
      while (ne < e && text[ne] != C(']'))
        ++ne;
      while (nb < ne && IsBlank(text[nb]))
        ++nb;
      while (ne > nb && IsBlank(text[ne - 1]))
        --ne;
      line.kind = LineKind::Section;
      line.name = text.substr(nb, ne - nb);
      inSection = true;
    } else if (!inSection) {
      line.kind = LineKind::Outside;
    } else if (text[b] == C(';')) {
      line.kind = LineKind::Comment;
    } else {
      size_t eq = b;
      while (eq < e && text[eq] != C('='))
        ++eq;
      if (eq < e) {
        size_t ne = eq;
        while (ne > b && IsBlank(text[ne - 1]))
          --ne;
        size_t vb = eq + 1;
        while (vb < e && IsBlank(text[vb]))
          ++vb;
        line.kind = LineKind::Entry;
        line.name = text.substr(b, ne - b);
        line.nameEnd = ne;
        line.value = text.substr(vb, e - vb);
        line.valueBegin = eq + 1;
      } else {
        line.kind = LineKind::EntryWithoutValue;
        line.name = text.substr(b, e - b);
        line.nameEnd = e;
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

template <class S>
bool IsEntry(const Line<S>& l) {
  return l.kind == LineKind::Entry || l.kind == LineKind::EntryWithoutValue;
}

// Index of the first section line of that name, or lines.size().
template <class S>
size_t FindSection(const std::vector<Line<S>>& lines, const S& name) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].kind == LineKind::Section && SameName(lines[i].name, name)) return i;
  return lines.size();
}

// One past the last line of the section that starts at line `head`.
template <class S>
size_t SectionEnd(const std::vector<Line<S>>& lines, size_t head) {
  size_t i = head + 1;
  while (i < lines.size() && lines[i].kind != LineKind::Section)
    ++i;
  return i;
}

template <class S>
size_t FindKeyLine(const std::vector<Line<S>>& lines, size_t head, const S& key) {
  size_t end = SectionEnd(lines, head);
  for (size_t i = head + 1; i < end; ++i)
    if (IsEntry(lines[i]) && SameName(lines[i].name, key)) return i;
  return lines.size();
}

// A value enclosed in matching double or single quotes comes back without them.
template <class S>
S Unquote(const S& v) {
  using C = typename S::value_type;
  if (v.size() >= 2 && (v[0] == C('"') || v[0] == C('\'')) && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

// ---- Reading: the answers, in the file's own encoding

template <class S>
std::vector<S> SectionNames(const S& text) {
  std::vector<S> names;
  for (const Line<S>& l : ParseLines(text))
    if (l.kind == LineKind::Section && !l.name.empty()) names.push_back(l.name);
  return names;
}

// Key names of the first section of that name (lines without "=" are no keys).
template <class S>
std::vector<S> KeyNames(const S& text, const S& section) {
  std::vector<S> names;
  std::vector<Line<S>> lines = ParseLines(text);
  size_t head = FindSection(lines, TrimSpaces(section));
  if (head < lines.size()) {
    size_t end = SectionEnd(lines, head);
    for (size_t i = head + 1; i < end; ++i)
      if (lines[i].kind == LineKind::Entry) names.push_back(lines[i].name);
  }
  return names;
}

template <class S>
bool FindValue(const S& text, const S& section, const S& key, S* value) {
  std::vector<Line<S>> lines = ParseLines(text);
  size_t head = FindSection(lines, TrimSpaces(section));
  if (head == lines.size()) return false;
  size_t at = FindKeyLine(lines, head, TrimSpaces(key));
  if (at == lines.size() || lines[at].kind != LineKind::Entry) return false;
  *value = Unquote(lines[at].value);
  return true;
}

// ---- Writing, in the file's own encoding

template <class S>
bool EndsWithLineBreak(const S& text) {
  using C = typename S::value_type;
  return !text.empty() && (text.back() == C('\n') || text.back() == C('\r'));
}

// key null deletes the section, value null the key.
template <class S>
void Edit(S* text, const S& section, const S* key, const S* value) {
  const S sec = TrimSpaces(section);
  const S crlf = Lit<S>("\r\n");
  std::vector<Line<S>> lines = ParseLines(*text);
  size_t head = FindSection(lines, sec);

  if (key == nullptr) {
    // The section's header and entries go; its comments and blank lines stay.
    if (head == lines.size()) return;
    size_t end = SectionEnd(lines, head);
    S out = text->substr(0, lines[head].begin);
    for (size_t i = head + 1; i < end; ++i)
      if (!IsEntry(lines[i])) out.append(*text, lines[i].begin, lines[i].next - lines[i].begin);
    if (end < lines.size()) out.append(*text, lines[end].begin, S::npos);
    *text = std::move(out);
    return;
  }
  const S k = TrimSpaces(*key);
  if (value == nullptr) {
    if (head == lines.size()) return;
    size_t at = FindKeyLine(lines, head, k);
    if (at < lines.size()) text->erase(lines[at].begin, lines[at].next - lines[at].begin);
    return;
  }
  const S entry = k + Lit<S>("=") + *value + crlf;
  if (head == lines.size()) {
    if (!text->empty() && !EndsWithLineBreak(*text)) *text += crlf;
    *text += Lit<S>("[") + sec + Lit<S>("]") + crlf + entry;
    return;
  }
  size_t at = FindKeyLine(lines, head, k);
  if (at < lines.size()) {
    // In place: the line keeps everything up to its "=" (a line without "="
    // keeps its name and gets one) and its own line break.
    const Line<S>& l = lines[at];
    S lead = l.kind == LineKind::Entry ? text->substr(l.begin, l.valueBegin - l.begin)
                                       : text->substr(l.begin, l.nameEnd - l.begin) + Lit<S>("=");
    S brk = l.next > l.end ? text->substr(l.end, l.next - l.end) : crlf;
    text->replace(l.begin, l.next - l.begin, lead + *value + brk);
    return;
  }
  // A new key goes right after the last entry of its section (comments and
  // blank lines after it stay after it), or right after the header.
  size_t end = SectionEnd(lines, head);
  size_t after = head;
  for (size_t i = head + 1; i < end; ++i)
    if (IsEntry(lines[i])) after = i;
  const Line<S>& l = lines[after];
  text->insert(l.next, l.next == l.end ? crlf + entry : entry);  // the file's last line may lack its break
}

// ---- The two encodings

bool IsUtf16(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

std::u16string DecodeUtf16(const std::string& bytes) {
  std::u16string out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    out += char16_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  return out;
}

std::string EncodeUtf16(const std::u16string& text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += char(c & 0xFF);
    out += char(c >> 8);
  }
  return out;
}

// Text of earlier releases: a file that is not UTF-8 is in the ANSI code page
// and is read (and, at the next write, written) as UTF-8. A UTF-8 byte order
// mark stays where it is, part of the first line, as the system reads it. The
// names and values a caller gives follow the same rule, so that a write never
// puts bytes into the file that would make the whole of it read as the old
// code page again.
std::string NarrowText(const std::string& bytes) { return IsValidUtf8(bytes) ? bytes : AnsiToUtf8(bytes); }
std::string NarrowArgument(const char* text) { return text ? NarrowText(text) : std::string(); }

// A value cut to the buffer ends before a character that does not fit whole.
uint32_t CopyText(const std::string& text, char* buf, uint32_t size) {
  size_t n = Utf8CutToBytes(text, size - 1).size();
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return static_cast<uint32_t>(n);
}

// A listing: each name with its zero byte, then one more zero byte. When that
// does not fit, the buffer holds the first size - 2 bytes or fewer (never part
// of a character) and two zero
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
  const size_t n = Utf8CutToBytes(all, size - 2).size();
  std::memcpy(buf, all.data(), n);
  buf[n] = '\0';
  buf[n + 1] = '\0';
  return static_cast<uint32_t>(n);
}

std::vector<std::string> NarrowAll(const std::vector<std::u16string>& names) {
  std::vector<std::string> out;
  for (const std::u16string& n : names)
    out.push_back(Utf16ToUtf8(n));
  return out;
}

}  // namespace

uint32_t ProfileGetString(const std::string& bytes, bool exists, const char* section, const char* key, const char* def,
                          char* buf, uint32_t size) {
  if (buf == nullptr || size == 0) return 0;
  // Trailing spaces of the default are dropped (a default of spaces keeps one).
  std::string defText = def ? def : "";
  while (defText.size() > 1 && defText.back() == ' ')
    defText.pop_back();
  const bool wide = exists && IsUtf16(bytes);
  const std::u16string text16 = wide ? DecodeUtf16(bytes) : std::u16string();
  const std::string text = wide || !exists ? std::string() : NarrowText(bytes);
  const std::string sectionText = NarrowArgument(section), keyText = NarrowArgument(key);

  if (section == nullptr) {
    std::vector<std::string> names;
    if (exists) names = wide ? NarrowAll(SectionNames(text16)) : SectionNames(text);
    if (names.empty()) {
      buf[0] = '\0';
      return 0;
    }
    return CopyList(names, buf, size);
  }
  if (!exists) return CopyText(defText, buf, size);
  if (key == nullptr) {
    std::vector<std::string> names =
        wide ? NarrowAll(KeyNames(text16, Utf8ToUtf16(sectionText))) : KeyNames(text, sectionText);
    // An empty listing gives the default instead.
    if (names.empty()) return CopyText(defText, buf, size);
    return CopyList(names, buf, size);
  }
  if (wide) {
    std::u16string value;
    if (FindValue(text16, Utf8ToUtf16(sectionText), Utf8ToUtf16(keyText), &value))
      return CopyText(Utf16ToUtf8(value), buf, size);
  } else {
    std::string value;
    if (FindValue(text, sectionText, keyText, &value)) return CopyText(value, buf, size);
  }
  return CopyText(defText, buf, size);
}

bool ProfileWriteString(std::string* bytes, const char* section, const char* key, const char* value) {
  if (section == nullptr) return false;
  const std::string sectionText = NarrowArgument(section);
  std::string k = NarrowArgument(key), v = NarrowArgument(value);
  if (IsUtf16(*bytes)) {
    std::u16string text = DecodeUtf16(*bytes);
    std::u16string k16 = Utf8ToUtf16(k), v16 = Utf8ToUtf16(v);
    Edit(&text, Utf8ToUtf16(sectionText), key ? &k16 : nullptr, value ? &v16 : nullptr);
    *bytes = EncodeUtf16(text);
  } else {
    std::string text = NarrowText(*bytes);
    Edit(&text, sectionText, key ? &k : nullptr, value ? &v : nullptr);
    *bytes = text;
  }
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

std::string TIniFile::ReadWholeString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
  std::string bytes;
  const bool exists = !path_.empty() && Files().FileExists(path_) && Files().ReadFile(path_, &bytes);
  // A value fills the buffer short of its last place only when it was cut.
  std::vector<char> buf;
  for (uint32_t size = kIniValueBuffer;; size *= 4) {
    buf.resize(size);
    const uint32_t n = ProfileGetString(bytes, exists, section.c_str(), key.c_str(), def.c_str(), buf.data(), size);
    // (a cut that keeps characters whole may leave three more places free).
    if (n + 4 < size || size > 2 * bytes.size() + def.size() + 8) return std::string(buf.data(), n);
  }
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
  const std::string wanted = TrimSpaces(section);
  std::vector<std::string> names =
      IsUtf16(bytes) ? NarrowAll(SectionNames(DecodeUtf16(bytes))) : SectionNames(NarrowText(bytes));
  for (const std::string& n : names)
    if (SameName(n, wanted)) return true;
  return false;
}

bool TIniFile::EraseSection(const std::string& section) {
  return IniWriteString(section.c_str(), nullptr, nullptr, path_);
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  return IniWriteString(section.c_str(), key.c_str(), nullptr, path_);
}

}  // namespace tov
