// INI files read and written with the rules of the Windows profile functions
// GetPrivateProfileStringA and WritePrivateProfileStringA, on every build:
// the same values come back, the same listings, and a write changes the file
// the way Windows changes it (only the line concerned, the rest byte for byte).
//
// Reading: lines end with LF, CR LF or CR; blanks (space, tab, vertical tab)
// around names and values are ignored; "[name]" opens a section (text after
// the first "]" is ignored, a missing "]" ends the name at the line end);
// lines before the first section and lines starting with ";" are ignored; a
// line without "=" is a key without value; the first section and the first
// key of a name win (names compare without regard to the case of ASCII
// letters); a value enclosed in matching double or single quotes comes back
// without them. Texts come and go in UTF-8. A file that starts with the
// UTF-16 little-endian byte order mark is read and written in UTF-16; any
// other file is UTF-8 (a UTF-8 byte order mark is part of its first line, as
// the system reads it), and one that is not
// well-formed UTF-8 was written by an earlier release in the ANSI code page
// (Windows-1252): it is read as that, and a write turns the whole file into
// UTF-8. A value or listing cut to the caller's buffer never ends inside a
// character.
//
// Writing: a key that exists gets its value replaced in its own line; a new
// key goes after the last key line of its section, a new section at the end of
// the file; a file that does not exist is created. Files are saved through
// WriteFileSafely, so a failure never leaves a half-written file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// Buffer sizes the program reads with: one value (2047 characters and the
// terminating zero) and one listing of names.
constexpr uint32_t kIniValueBuffer = 2048;
constexpr uint32_t kIniListBuffer = 16384;

// GetPrivateProfileStringA over the bytes of a file (`exists` false: there is
// no such file). section null lists the section names, key null the key names
// of the section, each name followed by a zero byte and the list by another;
// def null reads as "". Fills buf (size characters) exactly as Windows does
// and answers the number of characters copied, not counting the final zero.
uint32_t ProfileGetString(const std::string& bytes, bool exists, const char* section, const char* key, const char* def,
                          char* buf, uint32_t size);

// WritePrivateProfileStringA over the bytes of a file: key null deletes the
// section, value null deletes the key. Answers false (bytes unchanged) when
// Windows refuses the call, that is when section is null.
bool ProfileWriteString(std::string* bytes, const char* section, const char* key, const char* value);

// The same two operations on a file named by a path of the program
// (tov::Files()). The write answers false when the file cannot be written.
uint32_t IniGetString(const char* section, const char* key, const char* def, char* buf, uint32_t size,
                      const std::string& path);
bool IniWriteString(const char* section, const char* key, const char* value, const std::string& path);

// Splits a zero-separated listing as ProfileGetString fills it.
std::vector<std::string> SplitProfileList(const char* buf, uint32_t count);

// One INI file of the program, read afresh on every call and written at once.
class TIniFile {
 public:
  explicit TIniFile(std::string path) : path_(std::move(path)) {}

  const std::string& FileName() const { return path_; }

  // The value, cut to 2047 characters; def when the section or key is missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // The same, with the value whole however long it is.
  std::string ReadWholeString(const std::string& section, const std::string& key, const std::string& def) const;
  // False when the file or its folder cannot be written.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Names in file order, as far as a listing of 16384 bytes holds them.
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSectionKeys(const std::string& section) const;
  bool SectionExists(const std::string& section) const;
  bool EraseSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);

 private:
  std::string path_;
};

}  // namespace tov
