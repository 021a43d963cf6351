// Rules for text held as UTF-8: what counts as a character, where a string may
// be cut, and how text of earlier releases, written in the ANSI code page, is
// recognised and read. Portable C++ only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The length of the character that starts at text[at]: 1 to 4 bytes; 1 for a
// byte that does not start a well-formed character (it then counts as one).
size_t Utf8CharLength(std::string_view text, size_t at);

// Characters, not bytes: each well-formed character counts once, each byte
// of a malformed sequence once.
size_t Utf8CharCount(std::string_view text);

// The longest start of the text of at most maxBytes bytes that does not end
// inside a character.
std::string_view Utf8CutToBytes(std::string_view text, size_t maxBytes);
// The start of the text holding at most maxChars characters.
std::string_view Utf8CutToChars(std::string_view text, size_t maxChars);

// Text read from a file that may come from an earlier release: UTF-8 stays as
// it is (a leading byte-order mark dropped); anything else is taken as the
// ANSI code page (Windows-1252) and converted. ASCII reads the same either
// way, so files of earlier releases keep their meaning.
std::string StoredTextToUtf8(std::string_view text);

// UTF-8 and UTF-16, as the system's W calls take and give text. A malformed
// byte becomes U+FFFD; a lone surrogate too.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The next code point from text[*at], moving *at past it; a malformed byte
// gives U+FFFD and moves one byte.
uint32_t NextCodePoint(std::string_view text, size_t* at);

}  // namespace tov
