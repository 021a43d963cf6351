// Windows-1252 to UTF-8 and back, for the JSON form of table files.
#include <cstdint>
#include <string>

#include "tables/TableJson.h"

namespace tov {

namespace {

// 0x80..0x9F; the five undefined bytes map to the C1 control of the same value.
const uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int AnsiByte(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (unsigned char c : ansi)
    AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
  return out;
}

bool Utf8ToAnsi(const std::string& utf8, std::string* ansi) {
  ansi->clear();
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = (unsigned char)utf8[i];
    uint32_t cp;
    int extra;
    if (c < 0x80)
      cp = c, extra = 0;
    else if ((c & 0xE0) == 0xC0)
      cp = c & 0x1F, extra = 1;
    else if ((c & 0xF0) == 0xE0)
      cp = c & 0x0F, extra = 2;
    else
      return false;  // four-byte forms lie outside the code page
    if (i + size_t(extra) >= utf8.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      unsigned char d = (unsigned char)utf8[i + size_t(k)];
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    i += size_t(extra) + 1;
    int b = AnsiByte(cp);
    if (b < 0) return false;
    ansi->push_back(char(b));
  }
  return true;
}

}  // namespace tov
