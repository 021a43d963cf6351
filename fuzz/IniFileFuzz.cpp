// libFuzzer target for the INI engine (the profile functions on file bytes),
// ANSI and UTF-16 files alike: reads of listings and values must fill the
// caller's buffer within its size and end it with a zero; a write of a legal
// key and value must read back as written, leave every other value and the
// list of sections as they were, and keep the file's encoding.
//
// Input: section, key, value, a second section and key (each a string up to
// a single backslash, "\\" standing for one), a buffer size byte, then the
// file's bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/AnsiText.h"
#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "settings/IniFile.h"

namespace {

using tov::ProfileGetString;
using tov::ProfileWriteString;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

bool HasEdgeBlanks(const std::string& s) { return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back())); }

// Names and values that the file's syntax can hold unchanged.
bool LegalSection(const std::string& s) {
  return !s.empty() && !HasLineBreak(s) && !HasEdgeBlanks(s) && s.find(']') == std::string::npos;
}

bool LegalKey(const std::string& k) {
  return !k.empty() && !HasLineBreak(k) && !HasEdgeBlanks(k) && k.find('=') == std::string::npos && k[0] != '[' &&
         k[0] != ';';
}

bool LegalValue(const std::string& v) {
  if (HasLineBreak(v) || HasEdgeBlanks(v)) return false;
  // A value in matching quotes reads back without them.
  return !(v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]);
}

// Reads with a buffer of that size; checks the buffer's bounds and zeros.
std::string Read(const std::string& bytes, const char* section, const char* key, uint32_t size) {
  std::vector<char> buf(size + 16, '\x55');
  const uint32_t n = ProfileGetString(bytes, true, section, key, "default", buf.data(), size);
  if (size == 0) {
    if (n != 0) std::abort();
    return std::string();
  }
  if (n >= size) std::abort();
  for (uint32_t i = size; i < size + 16; ++i)
    if (buf[i] != '\x55') std::abort();  // written past the buffer
  if (buf[n] != '\0') std::abort();
  // A listing of sections ends with two zero bytes: the last name's and the
  // list's, or, cut short, two after the part that fits.
  if (section == nullptr && n > 0 && buf[n - 1] != '\0' && buf[n + 1] != '\0') std::abort();
  return std::string(buf.data(), n);
}

std::string Value(const std::string& bytes, const std::string& section, const std::string& key) {
  return Read(bytes, section.c_str(), key.c_str(), tov::kIniValueBuffer);
}

// Room for the whole listing: in UTF-8 a byte of an old file, or a unit of a
// UTF-16 one, takes at most three bytes.
std::string Sections(const std::string& bytes) {
  return Read(bytes, nullptr, nullptr, static_cast<uint32_t>(3 * bytes.size() + 16));
}

// The functions drop the spaces around a name they are given.
std::string TrimSpaces(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Names and values that are not UTF-8 are text of the old code page to the
// functions, as the file's own text is.
std::string AsStored(const std::string& s) { return tov::IsValidUtf8(s) ? s : tov::AnsiToUtf8(s); }

bool SameName(const std::string& a, const std::string& b) {
  return tov::SameTextAscii(TrimSpaces(AsStored(a)), TrimSpaces(AsStored(b)));
}

bool IsUtf16(const std::string& bytes) { return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // The functions take C strings: a name ends at its first zero byte.
  auto text = [&in](size_t most) {
    std::string s = in.ConsumeRandomLengthString(most);
    return s.substr(0, s.find('\0'));
  };
  const std::string section = text(64);
  const std::string key = text(64);
  const std::string value = text(256);
  const std::string otherSection = text(64);
  const std::string otherKey = text(64);
  const uint32_t smallBuffer = in.ConsumeIntegral<uint8_t>();
  const std::string file = in.ConsumeRemainingBytesAsString();

  // Reads of every kind, with a buffer that may be too small.
  Read(file, nullptr, nullptr, smallBuffer);
  Read(file, section.c_str(), nullptr, smallBuffer);
  Read(file, section.c_str(), key.c_str(), smallBuffer);
  const std::string sectionsBefore = Sections(file);
  const std::string otherBefore = Value(file, otherSection, otherKey);

  // Deleting a key or a section must leave a file that reads.
  std::string erased = file;
  if (!ProfileWriteString(&erased, section.c_str(), key.c_str(), nullptr)) std::abort();
  Sections(erased);
  erased = file;
  if (!ProfileWriteString(&erased, section.c_str(), nullptr, nullptr)) std::abort();
  Sections(erased);
  if (IsUtf16(erased) != IsUtf16(file)) std::abort();

  std::string written = file;
  if (!ProfileWriteString(&written, section.c_str(), key.c_str(), value.c_str())) std::abort();
  if (!LegalSection(section) || !LegalKey(key) || !LegalValue(value)) return 0;
  if (IsUtf16(written) != IsUtf16(file)) std::abort();
  if (Value(written, section, key) != tov::Utf8CutToBytes(AsStored(value), tov::kIniValueBuffer - 1)) std::abort();
  // The other value stays, unless it is the same key of the same section.
  const bool same = SameName(section, otherSection) && SameName(key, otherKey);
  if (!same && Value(written, otherSection, otherKey) != otherBefore) std::abort();
  // The list of sections stays, or gains the new section at its end.
  const std::string sectionsAfter = Sections(written);
  if (sectionsAfter != sectionsBefore && sectionsAfter != sectionsBefore + AsStored(section) + std::string(1, '\0'))
    std::abort();
  // Writing the same value again changes nothing.
  std::string again = written;
  ProfileWriteString(&again, section.c_str(), key.c_str(), value.c_str());
  if (again != written) std::abort();
  return 0;
}
