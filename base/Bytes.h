// Bytes of the files the program reads and writes: numbers little- and
// big-endian, every read checked against the end of its bytes, and the DOS
// date and time (ZIP entries, the FAT times of shell items) packed by one
// rule. Every format uses these: there is no other byte arithmetic.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Appends the low `bytes` bytes (1 to 8) of v, least or most significant first.
void PutLe(std::string& out, uint64_t v, int bytes);
void PutBe(std::string& out, uint64_t v, int bytes);

// Writes the low `bytes` bytes of v at `at`, least significant first; false,
// with nothing written, when they do not fit inside out.
bool SetLe(std::string& out, size_t at, uint64_t v, int bytes);
bool SetLe(std::vector<uint8_t>& out, size_t at, uint64_t v, int bytes);

// A window of bytes; a read that would pass its end fails and leaves the
// result alone.
class ByteReader {
 public:
  ByteReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit ByteReader(std::string_view bytes) : ByteReader(bytes.data(), bytes.size()) {}
  explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  size_t Size() const { return size_; }
  bool Has(size_t at, size_t n) const { return at <= size_ && n <= size_ - at; }
  // The window from `at`, n bytes long; an empty window when it does not fit.
  ByteReader Window(size_t at, size_t n) const { return Has(at, n) ? ByteReader(data_ + at, n) : ByteReader(data_, 0); }

  bool Le(size_t at, int bytes, uint64_t* v) const;
  bool Be(size_t at, int bytes, uint64_t* v) const;
  bool U8(size_t at, uint32_t* v) const { return Read32(at, 1, false, v); }
  bool Le16(size_t at, uint32_t* v) const { return Read32(at, 2, false, v); }
  bool Le32(size_t at, uint32_t* v) const { return Read32(at, 4, false, v); }
  bool Be16(size_t at, uint32_t* v) const { return Read32(at, 2, true, v); }
  bool Be32(size_t at, uint32_t* v) const { return Read32(at, 4, true, v); }
  // The same, 0 when the bytes are not there: for readers that checked the
  // sizes they rely on beforehand.
  uint32_t Le16Or0(size_t at) const;
  uint32_t Le32Or0(size_t at) const;

  uint8_t operator[](size_t at) const { return data_[at]; }  // at < Size()
  const uint8_t* Data() const { return data_; }

 private:
  bool Read32(size_t at, int bytes, bool bigEndian, uint32_t* v) const;

  const uint8_t* data_;
  size_t size_;
};

// A DOS date (years 1980 to 2107) and time (two-second steps). The one rule
// for what does not fit: a moment before 1980 becomes the first the format
// holds (1980-01-01 00:00:00), one after 2107 the last (2107-12-31
// 23:59:58); a field outside its calendar range is brought to its nearest
// end (month 1 to 12, day 1 to 31, hour 0 to 23, minute and second 0 to 59).
struct DosDateTime {
  uint16_t date = 0;
  uint16_t time = 0;
};
DosDateTime PackDosDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace tov
