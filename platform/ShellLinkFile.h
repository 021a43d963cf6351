// The shell's published link file format (".lnk"), written and read without
// the shell: a header, the target's item id list (My Computer, the drive, one
// item per path element), a link info block with the local path, the
// description and the terminal extra-data block. Texts are UTF-8. The
// format's narrow fields hold the system's code page, UTF-8 for this program
// (a shell under that code page writes and reads them so); those of other
// writers are read as UTF-8 where they are well-formed, else as Windows-1252.
// Its wide fields, written beside them for every name beyond ASCII, hold
// UTF-16.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Files.h"

namespace tov {

// What the writer stores about the target in the header and in its last item
// (all zero for a target that does not exist).
struct ShellLinkTargetInfo {
  bool exists = false;
  bool directory = false;  // also taken for a target that ends in a backslash
  uint32_t attributes = 0;
  uint64_t size = 0;
  DateTime writeTime;  // year 0: none
};

struct ShellLinkContents {
  std::string target;
  std::string description;
};

// Builds the bytes of a link to target, an absolute path with a drive
// ("C:\Dir\File.txt", "D:\") or a network share ("\\server\share\Dir").
// Answers false, with the reason in *error, for any other target.
bool BuildShellLink(const std::string& target, const std::string& description, const ShellLinkTargetInfo& info,
                    std::string* bytes, std::string* error);

// Reads a link file. The target comes from the link info block (local base
// path and common path suffix, or the network share and the suffix), else
// from the item id list (the drive and the long names of the items). Answers
// false, with the reason in *error, for anything that is not a whole, sound
// link with a target; every length and offset is checked against the bytes.
bool ParseShellLink(const std::string& bytes, ShellLinkContents* out, std::string* error);

}  // namespace tov
