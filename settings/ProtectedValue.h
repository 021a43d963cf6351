// Protected setting values: enciphered twice with PC1, first under the
// program's own key, then under a key derived from the hash of a key file
// (Support.dat of the user data folder). A stored value reads back only with
// the same program and the same key file. Every plain byte takes four letters.
#pragma once
#include <string>

namespace tov {

// Built into the program, never written anywhere, never to change: every
// stored protected value depends on it.
extern const char kProgramKey[];

// The 15-character key of a key file: its SHA-1 words H3, H2, H1, H4 as
// upper-case hexadecimal, characters 2 to 16. Throws ESecHashException when
// the file cannot be read (an empty path included).
std::string FolderKey(const std::string& keyFilePath);

// The stored text ("a" to "p") of a plain text, and back. Any length is
// accepted; the empty text stays empty. Both hash the key file afresh and
// throw ESecHashException like FolderKey.
std::string EncipherProtectedValue(const std::string& plain, const std::string& keyFilePath);
std::string DecipherProtectedValue(const std::string& stored, const std::string& keyFilePath);

// The longest plain text that still reads back whole from a settings file,
// whose values come back cut to 2047 characters.
constexpr size_t kProtectedValueReadLimit = 511;

}  // namespace tov
