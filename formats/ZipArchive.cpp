#include "formats/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/Bytes.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

constexpr uint64_t kLimit = 0xFFFFFFFEu;
constexpr size_t kMostEntries = 0xFFFF;
constexpr uint16_t kUtf8Flag = 0x0800;

void Put(std::string& out, uint32_t v, int bytes) { PutLe(out, v, bytes); }

// Raw deflate (no zlib header), as the ZIP format stores it. False, and
// nothing worth keeping, once the packed bytes would be no fewer than the
// plain ones: the entry is then stored. Works in pieces, as zlib counts in
// 32 bits on some systems.
bool Deflate(const std::string& in, std::string* out) {
  out->clear();
  if (in.empty()) return false;
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  constexpr size_t kPiece = 1 << 20;
  std::vector<Bytef> buffer(1 << 16);
  size_t consumed = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END && out->size() < in.size()) {
    if (z.avail_in == 0 && consumed < in.size()) {
      const size_t piece = std::min(kPiece, in.size() - consumed);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data() + consumed));
      z.avail_in = uInt(piece);
      consumed += piece;
    }
    z.next_out = buffer.data();
    z.avail_out = uInt(buffer.size());
    rc = deflate(&z, consumed == in.size() ? Z_FINISH : Z_NO_FLUSH);
    if (rc == Z_STREAM_ERROR) break;
    out->append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
  }
  deflateEnd(&z);
  return rc == Z_STREAM_END && out->size() < in.size();
}

uint32_t Crc32(const std::string& bytes) {
  uLong crc = crc32(0, nullptr, 0);
  for (size_t at = 0; at < bytes.size(); at += 1 << 20) {
    const size_t piece = std::min<size_t>(bytes.size() - at, 1 << 20);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), uInt(piece));
  }
  return uint32_t(crc);
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
  e.data = bytes;
  e.modified = modified;
  entries_.push_back(std::move(e));
}

std::string TZipArchive::Bytes() const {
  if (entries_.size() > kMostEntries) return std::string();
  std::string archive, directory;
  for (const Entry& e : entries_) {
    if (e.name.size() > 0xFFFF) return std::string();
    std::string packed;
    const bool stored = !Deflate(e.data, &packed);
    const std::string& body = stored ? e.data : packed;
    const uint64_t offset = archive.size();
    // Every offset and size, and the archive as a whole, must fit the
    // format's 32 bits (all ones marks the larger format, which is not written).
    if (offset + 30 + e.name.size() + body.size() + directory.size() + 46 + e.name.size() + 22 > kLimit)
      return std::string();
    const uint32_t crc = Crc32(e.data);
    auto common = [&](std::string& out) {
      Put(out, 20, 2);  // version needed: 2.0
      Put(out, e.utf8 ? kUtf8Flag : 0, 2);
      Put(out, stored ? 0 : 8, 2);
      const DateTime& m = e.modified;
      const DosDateTime dos = PackDosDateTime(m.year, m.month, m.day, m.hour, m.minute, m.second);
      Put(out, dos.time, 2);
      Put(out, dos.date, 2);
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
