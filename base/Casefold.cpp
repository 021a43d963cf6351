#include "base/Casefold.h"

namespace tov {

namespace {

template <class View>
bool SameAscii(View a, View b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) { return SameAscii(a, b); }
bool SameTextAscii(std::u16string_view a, std::u16string_view b) { return SameAscii(a, b); }

char AnsiUpperChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return char(c - 32);
  switch (c) {
    case 0x9A:
      return char(0x8A);
    case 0x9C:
      return char(0x8C);
    case 0x9E:
      return char(0x8E);
    case 0xFF:
      return char(0x9F);
    default:
      return ch;
  }
}

char AnsiLowerChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char(c + 32);
  switch (c) {
    case 0x8A:
      return char(0x9A);
    case 0x8C:
      return char(0x9C);
    case 0x8E:
      return char(0x9E);
    case 0x9F:
      return char(0xFF);
    default:
      return ch;
  }
}

std::string AnsiUpperCase(std::string s) {
  for (char& c : s)
    c = AnsiUpperChar(c);
  return s;
}

std::string AnsiLowerCase(std::string s) {
  for (char& c : s)
    c = AnsiLowerChar(c);
  return s;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AnsiUpperChar(a[i]) != AnsiUpperChar(b[i])) return false;
  return true;
}

}  // namespace tov
