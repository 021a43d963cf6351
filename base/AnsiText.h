// Text of the ANSI code page, Windows-1252, and its Unicode forms: the one
// conversion used by the logic (the JSON form of table files) and by the
// platform layer (UTF-16 INI files, the link format). Portable C++ only.
#pragma once
#include <cstdint>
#include <string>

namespace tov {

// The character a byte stands for. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters
// of the same value, as the system's own conversion maps them, so every byte
// survives a round trip.
char16_t AnsiByteToUnicode(unsigned char byte);
// The byte of a character of the code page; -1 for any other character.
int UnicodeToAnsiByte(uint32_t codePoint);

std::u16string AnsiToUtf16(const std::string& ansi);
// As the system converts for its ANSI calls: a character the code page lacks
// becomes a similar one where the system has one ("best fit": U+0100 A
// macron gives "A"), else "?", one for each UTF-16 unit (a surrogate pair
// gives two, as the system answers under Wine).
std::string Utf16ToAnsi(const std::u16string& text);

std::string AnsiToUtf8(const std::string& ansi);
// Strict, for data that must survive unchanged: false, with *ansi
// unspecified, when the text is not well-formed UTF-8 or holds a character
// the code page lacks (no best fit).
bool Utf8ToAnsi(const std::string& utf8, std::string* ansi);
// Appends a code point (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);

}  // namespace tov
