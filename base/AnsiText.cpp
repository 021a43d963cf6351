#include "base/AnsiText.h"

namespace tov {

namespace {

// Bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t AnsiByteToUnicode(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte; }

int UnicodeToAnsiByte(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

std::u16string AnsiToUtf16(const std::string& ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi)
    out.push_back(AnsiByteToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToAnsi(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const int b = UnicodeToAnsiByte(c);
    out.push_back(b < 0 ? '?' : char(b));
  }
  return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xE0 | ((cp >> 12) & 0x0F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi)
    AppendUtf8(out, AnsiByteToUnicode(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToAnsi(const std::string& utf8, std::string* ansi) {
  ansi->clear();
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    uint32_t cp;
    size_t extra;
    if (c < 0x80)
      cp = c, extra = 0;
    else if ((c & 0xE0) == 0xC0)
      cp = c & 0x1F, extra = 1;
    else if ((c & 0xF0) == 0xE0)
      cp = c & 0x0F, extra = 2;
    else
      return false;  // four-byte forms lie outside the code page
    if (i + extra >= utf8.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(utf8[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // A character spelt with more bytes than it needs is not UTF-8.
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800)) return false;
    i += extra + 1;
    const int b = UnicodeToAnsiByte(cp);
    if (b < 0) return false;
    ansi->push_back(char(b));
  }
  return true;
}

}  // namespace tov
