#include "ui/Ziparchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

#include "base/AnsiText.h"
#include "platform/Platform.h"
#include "settings/Supportfiles.h"

namespace tov {

namespace {

constexpr uint64_t kLimit = 0xFFFFFFFFu;
constexpr size_t kMostEntries = 0xFFFF;
constexpr uint16_t kUtf8Flag = 0x0800;

void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(char((v >> (8 * i)) & 0xFF));
}

// DOS date and time: two-second steps, years from 1980.
uint16_t DosTime(const DateTime& t) { return uint16_t((t.hour << 11) | (t.minute << 5) | (t.second / 2)); }
uint16_t DosDate(const DateTime& t) {
  const int year = std::clamp(t.year, 1980, 2107);
  return uint16_t(((year - 1980) << 9) | (std::clamp(t.month, 1, 12) << 5) | std::clamp(t.day, 1, 31));
}

// Raw deflate (no zlib header), as the ZIP format stores it.
bool Deflate(const std::string& in, std::string* out) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  out->resize(deflateBound(&z, uLong(in.size())));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = uInt(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out->data());
  z.avail_out = uInt(out->size());
  const int rc = deflate(&z, Z_FINISH);
  out->resize(z.total_out);
  deflateEnd(&z);
  return rc == Z_STREAM_END;
}

}  // namespace

bool TZipArchive::AddFile(const std::string& path, const std::string& storedName) {
  std::string bytes;
  if (!Files().ReadFile(path, &bytes)) return false;
  DateTime modified{1980, 1, 1, 0, 0, 0, 0};
  Files().LastWriteTime(path, &modified);
  AddBytes(storedName.empty() ? FileNamePart(path) : storedName, bytes, modified);
  return true;
}

void TZipArchive::AddBytes(const std::string& storedName, const std::string& bytes, const DateTime& modified) {
  Entry e;
  e.name = storedName;
  std::replace(e.name.begin(), e.name.end(), '\\', '/');
  e.utf8 = std::any_of(e.name.begin(), e.name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (e.utf8) e.name = AnsiToUtf8(e.name);
  e.data = bytes;
  e.modified = modified;
  entries_.push_back(std::move(e));
}

std::string TZipArchive::Bytes() const {
  if (entries_.size() > kMostEntries) return std::string();
  std::string archive, directory;
  for (const Entry& e : entries_) {
    if (e.data.size() > kLimit || e.name.size() > 0xFFFF) return std::string();
    std::string packed;
    if (!Deflate(e.data, &packed)) return std::string();
    const bool stored = packed.size() >= e.data.size();
    const std::string& body = stored ? e.data : packed;
    const uint32_t crc =
        uint32_t(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(e.data.data()), uInt(e.data.size())));
    const uint64_t offset = archive.size();
    if (offset > kLimit) return std::string();
    auto common = [&](std::string& out) {
      Put(out, 20, 2);  // version needed: 2.0
      Put(out, e.utf8 ? kUtf8Flag : 0, 2);
      Put(out, stored ? 0 : 8, 2);
      Put(out, DosTime(e.modified), 2);
      Put(out, DosDate(e.modified), 2);
      Put(out, crc, 4);
      Put(out, uint32_t(body.size()), 4);
      Put(out, uint32_t(e.data.size()), 4);
      Put(out, uint32_t(e.name.size()), 2);
      Put(out, 0, 2);  // no extra field
    };
    Put(archive, 0x04034B50, 4);
    common(archive);
    archive += e.name;
    archive += body;
    Put(directory, 0x02014B50, 4);
    Put(directory, 20, 2);  // made by: MS-DOS, version 2.0
    common(directory);
    Put(directory, 0, 2);     // no comment
    Put(directory, 0, 2);     // disk 0
    Put(directory, 0, 2);     // internal attributes
    Put(directory, 0x20, 4);  // archive bit
    Put(directory, uint32_t(offset), 4);
    directory += e.name;
  }
  const uint64_t start = archive.size();
  if (start > kLimit || start + directory.size() > kLimit) return std::string();
  archive += directory;
  Put(archive, 0x06054B50, 4);
  Put(archive, 0, 2);
  Put(archive, 0, 2);
  Put(archive, uint32_t(entries_.size()), 2);
  Put(archive, uint32_t(entries_.size()), 2);
  Put(archive, uint32_t(directory.size()), 4);
  Put(archive, uint32_t(start), 4);
  Put(archive, 0, 2);  // no comment
  return archive;
}

bool TZipArchive::WriteTo(const std::string& path) const {
  const std::string bytes = Bytes();
  return !bytes.empty() && WriteFileSafely(Files(), path, bytes);
}

}  // namespace tov
