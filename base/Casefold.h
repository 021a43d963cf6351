// Letter case of text held as UTF-8. Two rules exist, and every comparison of
// names without regard to case uses one of them:
//
// - ASCII letters only (a-z against A-Z). Identifiers compare this way
//   (component and class names), and so do the section and key names of INI
//   files, as the system's profile functions compare them under Wine.
// - Every letter of Unicode that has a simple uppercase partner going both
//   ways, one UTF-16 unit against one (the system's ordinal compare that
//   ignores case, CompareStringOrdinal). File names and registry key and
//   value names compare this way, and so do the texts the program itself
//   compares without case: language file names, settings template sections,
//   table column names, picture names, accelerator keys. Sharp s, dotless i,
//   dotted capital I, long s, the micro sign and final sigma have no partner
//   there and match only themselves; characters beyond U+FFFF too.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
bool SameTextAscii(std::string_view a, std::string_view b);
bool SameTextAscii(std::u16string_view a, std::u16string_view b);

// The partner of a code point under the second rule; the code point itself
// where it has none.
uint32_t UpperCodePoint(uint32_t cp);
uint32_t LowerCodePoint(uint32_t cp);
// The text with every letter in the one case; bytes that are not UTF-8 stay
// as they are.
std::string UpperCaseText(std::string_view s);
std::string LowerCaseText(std::string_view s);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tov
