#include "base/Bytes.h"

#include <algorithm>

namespace tov {

void PutLe(std::string& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(char((v >> (8 * i)) & 0xFF));
}

void PutBe(std::string& out, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(char((v >> (8 * i)) & 0xFF));
}

namespace {

template <class Bytes>
bool SetLeIn(Bytes& out, size_t at, uint64_t v, int bytes) {
  const size_t n = size_t(std::max(bytes, 0));
  if (at > out.size() || n > out.size() - at) return false;
  for (size_t i = 0; i < n; ++i)
    out[at + i] = static_cast<typename Bytes::value_type>((v >> (8 * i)) & 0xFF);
  return true;
}

}  // namespace

bool SetLe(std::string& out, size_t at, uint64_t v, int bytes) { return SetLeIn(out, at, v, bytes); }
bool SetLe(std::vector<uint8_t>& out, size_t at, uint64_t v, int bytes) { return SetLeIn(out, at, v, bytes); }

bool ByteReader::Le(size_t at, int bytes, uint64_t* v) const {
  if (bytes < 0 || bytes > 8 || !Has(at, size_t(bytes))) return false;
  uint64_t r = 0;
  for (int i = 0; i < bytes; ++i)
    r |= uint64_t(data_[at + size_t(i)]) << (8 * i);
  *v = r;
  return true;
}

bool ByteReader::Be(size_t at, int bytes, uint64_t* v) const {
  if (bytes < 0 || bytes > 8 || !Has(at, size_t(bytes))) return false;
  uint64_t r = 0;
  for (int i = 0; i < bytes; ++i)
    r = (r << 8) | data_[at + size_t(i)];
  *v = r;
  return true;
}

bool ByteReader::Read32(size_t at, int bytes, bool bigEndian, uint32_t* v) const {
  uint64_t r = 0;
  if (!(bigEndian ? Be(at, bytes, &r) : Le(at, bytes, &r))) return false;
  *v = uint32_t(r);
  return true;
}

uint32_t ByteReader::Le16Or0(size_t at) const {
  uint32_t v = 0;
  return Le16(at, &v) ? v : 0;
}

uint32_t ByteReader::Le32Or0(size_t at) const {
  uint32_t v = 0;
  return Le32(at, &v) ? v : 0;
}

DosDateTime PackDosDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) {
    year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  } else if (year > 2107) {
    year = 2107, month = 12, day = 31, hour = 23, minute = 59, second = 59;
  }
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, 31);
  hour = std::clamp(hour, 0, 23);
  minute = std::clamp(minute, 0, 59);
  second = std::clamp(second, 0, 59);
  DosDateTime packed;
  packed.date = uint16_t(((year - 1980) << 9) | (month << 5) | day);
  packed.time = uint16_t((hour << 11) | (minute << 5) | (second / 2));
  return packed;
}

}  // namespace tov
