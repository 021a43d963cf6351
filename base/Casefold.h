// Letter case of Windows-1252 text. Two rules exist, and every comparison of
// names without regard to case uses one of them:
//
// - ASCII letters only (a-z against A-Z). Identifiers compare this way
//   (component and class names), and so do the section and key names of INI
//   files, in ANSI and in UTF-16 files alike, as the system's profile
//   functions compare them under Wine.
// - The whole code page: a-z, the accented letters 0xE0-0xFE except the
//   division sign 0xF7 against 0xC0-0xDE, and the four letters of the
//   0x80-0x9F row (s caron 0x9A, oe 0x9C, z caron 0x9E, y diaeresis 0xFF
//   against 0x8A, 0x8C, 0x8E, 0x9F). File names and registry key and value
//   names compare this way (the system's answers under Wine), and so do the
//   texts the program itself compares by the user's locale: language file
//   names, settings template sections, table column names, picture names,
//   accelerator keys. Sharp s (0xDF) and the micro sign (0xB5) have no
//   capital inside the code page and match only themselves.
#pragma once
#include <string>
#include <string_view>

namespace tov {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
bool SameTextAscii(std::string_view a, std::string_view b);
bool SameTextAscii(std::u16string_view a, std::u16string_view b);

char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string s);
std::string AnsiLowerCase(std::string s);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tov
