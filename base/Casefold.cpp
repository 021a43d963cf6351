#include "base/Casefold.h"

#include <array>
#include <vector>

#include "base/AnsiText.h"
#include "base/Utf8Text.h"

namespace tov {

namespace {

template <class View>
bool SameAscii(View a, View b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

struct CaseRun {
  uint16_t first, last;
  uint8_t step;
  int32_t delta;
};

constexpr CaseRun kUpperRuns[] = {
#include "base/UpperCaseTable.inc"
};

// One direction of the mapping over every UTF-16 unit, in pages of 256: a
// page without a cased letter is not stored (most of them), so the tables
// take about 20 kB, not the 256 kB flat tables would.
class CaseMap {
 public:
  char16_t operator()(uint32_t u) const {
    const uint16_t at = index_[u >> 8];
    return at ? pages_[at - 1][u & 0xff] : char16_t(u);
  }
  void Set(uint32_t from, char16_t to) {
    uint16_t& at = index_[from >> 8];
    if (!at) {
      std::array<char16_t, 256>& page = pages_.emplace_back();
      for (uint32_t i = 0; i < 256; ++i)
        page[i] = char16_t((from & 0xff00) | i);
      at = uint16_t(pages_.size());
    }
    pages_[at - 1][from & 0xff] = to;
  }

 private:
  std::array<uint16_t, 256> index_{};  // 0: the page maps to itself
  std::vector<std::array<char16_t, 256>> pages_;
};

// Both directions, made once.
struct CaseTables {
  CaseMap upper, lower;
  CaseTables() {
    for (const CaseRun& r : kUpperRuns)
      for (uint32_t u = r.first; u <= r.last; u += r.step) {
        const auto to = char16_t(int32_t(u) + r.delta);
        upper.Set(u, to);
        lower.Set(to, char16_t(u));
      }
  }
};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

std::string MapText(std::string_view s, uint32_t (*map)(uint32_t)) {
  std::string out;
  out.reserve(s.size());
  size_t at = 0;
  while (at < s.size()) {
    const size_t n = Utf8CharLength(s, at);
    const auto lead = static_cast<unsigned char>(s[at]);
    if (lead < 0x80) {
      out += char(map(lead));
    } else if (n == 1) {
      out += s[at];  // not UTF-8: kept
    } else {
      size_t next = at;
      AppendUtf8(out, map(NextCodePoint(s, &next)));
    }
    at += n;
  }
  return out;
}

}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) { return SameAscii(a, b); }
bool SameTextAscii(std::u16string_view a, std::u16string_view b) { return SameAscii(a, b); }

uint32_t UpperCodePoint(uint32_t cp) { return cp < 0x10000 ? Tables().upper(cp) : cp; }
uint32_t LowerCodePoint(uint32_t cp) { return cp < 0x10000 ? Tables().lower(cp) : cp; }

std::string UpperCaseText(std::string_view s) { return MapText(s, UpperCodePoint); }
std::string LowerCaseText(std::string_view s) { return MapText(s, LowerCodePoint); }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const size_t n = Utf8CharLength(a, i), m = Utf8CharLength(b, j);
    if (n == 1 && m == 1) {
      const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
      if (x != y && (x >= 0x80 || y >= 0x80 || AsciiUpper(char(x)) != AsciiUpper(char(y)))) return false;
    } else {
      if (n == 1 || m == 1) return false;  // a stray byte against a character
      size_t p = i, q = j;
      if (UpperCodePoint(NextCodePoint(a, &p)) != UpperCodePoint(NextCodePoint(b, &q))) return false;
    }
    i += n;
    j += m;
  }
  return i == a.size() && j == b.size();
}

}  // namespace tov
