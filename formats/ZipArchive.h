// A standard ZIP archive, written whole: entries deflated (or stored when
// deflating would not shrink them), each with its CRC-32, sizes and DOS time
// in its local header, then the central directory. Names holding letters
// beyond ASCII are stored in UTF-8 and marked so.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace tov {

class TZipArchive {
 public:
  void Clear() { entries_.clear(); }
  // The file under the given name, or its own file name; false when it
  // cannot be read.
  bool AddFile(const std::string& path, const std::string& storedName = {});
  void AddBytes(const std::string& storedName, const std::string& bytes, const DateTime& modified);
  size_t Count() const { return entries_.size(); }

  // The archive's bytes; empty when it would be too large for the format
  // (4 GiB, 65535 entries) or an entry cannot be compressed.
  std::string Bytes() const;
  // Writes the archive over the file; false when it cannot.
  bool WriteTo(const std::string& path) const;

 private:
  struct Entry {
    std::string name;  // as stored: '/' between folders, UTF-8 when flagged
    bool utf8 = false;
    std::string data;
    DateTime modified;
  };
  std::vector<Entry> entries_;
};

}  // namespace tov
