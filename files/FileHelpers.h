// Pieces of file names, wildcard listings and file dates.
#pragma once
#include <string>
#include <vector>

#include "platform/Files.h"

namespace tov {

// The file-name part of a path: what follows its last "\" or ":".
std::string FileNamePart(const std::string& path);

// True when file stands directly in folder: the part of file before its last
// "\" or ":" names folder, case aside and trailing backslashes aside, a drive's
// root written either way ("C:\a.txt" is in "C:\" and in "c:"), a share's
// folder likewise ("\\pc\dati\a.txt" is in "\\PC\Dati\"). False for a bare name.
bool IsFileInFolder(const std::string& file, const std::string& folder);

// The path that names the file or folder itself: a folder written with its
// closing backslash ("C:\Dati\") loses it; a drive's root ("C:\") keeps it.
std::string WithoutClosingBackslash(const std::string& path);

// A folder and a name joined with one backslash between them, whether or not
// the folder ends with one.
std::string JoinPath(const std::string& folder, const std::string& name);

// The file-name part of a path (after the last "\" or ":") without its
// extension (everything from its last "."): C:\a\b.c.lnk gives b.c.
std::string FileNameWithoutExt(const std::string& path);

// 0 when the name holds none of \ / : * ? " < >; otherwise the 1-based
// position of the first occurrence of the first of those characters, taken
// in that order, that occurs at all.
int ForbiddenCharPos(const std::string& name);

// True when name can stand as a file's name just as it is: not empty; none of
// \ / : * ? " < > | nor a control character; not ending in a dot or a space
// (Windows would drop them); not a device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9), with or without an extension.
bool IsUsableFileName(const std::string& name);

// Entries matching a wildcard pattern, each with the pattern's folder part in
// front, in the order the file system returns them ("." and ".." included when
// they match). Empty for a missing folder or no match.
std::vector<std::string> ListFiles(const std::string& pattern);

// Last-write date and time of a file in the locale's short date and time
// formats, at the two-second precision of file-system date words; empty when
// the file cannot be opened for reading.
std::string FileDateTimeText(const std::string& path);

// "2012_2_27" (year first) or "27_2_2012", never padded.
std::string DateStampText(const DateTime& date, bool yearFirst);

}  // namespace tov
