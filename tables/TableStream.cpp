#include "tables/TableStream.h"

#include <cstring>

#include "base/AnsiText.h"
#include "base/Bytes.h"
#include "base/Utf8Text.h"
#include "tables/ExtendedFloat.h"
#include "tables/TableError.h"

namespace tov {

namespace {

[[noreturn]] void ReadError() { throw TableError("Stream read error"); }
[[noreturn]] void InvalidValue() { throw TableError("Invalid property value"); }

void AppendLittleEndian(std::string* out, uint32_t v, int bytes) { PutLe(*out, v, bytes); }

// A number of the stream, once ReadRaw has the bytes.
uint32_t LittleEndian(const uint8_t* b, size_t n) { return ByteReader(b, n).Le32Or0(0); }

}  // namespace

void TableWriter::WriteInteger(int32_t v) {
  if (v >= -128 && v <= 127) {
    out_->push_back(char(itInt8));
    AppendLittleEndian(out_, uint32_t(v), 1);
  } else if (v >= -32768 && v <= 32767) {
    out_->push_back(char(itInt16));
    AppendLittleEndian(out_, uint32_t(v), 2);
  } else {
    out_->push_back(char(itInt32));
    AppendLittleEndian(out_, uint32_t(v), 4);
  }
}

void TableWriter::WriteString(std::string_view s) {
  if (s.size() <= 255) {
    out_->push_back(char(itString));
    out_->push_back(char(uint8_t(s.size())));
  } else {
    out_->push_back(char(itLString));
    AppendLittleEndian(out_, uint32_t(s.size()), 4);
  }
  out_->append(s);
}

void TableWriter::WriteFloat(double v) {
  uint8_t b[10];
  EncodeExtended(v, b);
  out_->push_back(char(itExtended));
  out_->append(reinterpret_cast<const char*>(b), 10);
}

void TableReader::ReadRaw(void* out, size_t n) {
  if (n > Remaining()) ReadError();
  std::memcpy(out, bytes_.data() + pos_, n);
  pos_ += n;
}

uint8_t TableReader::PeekTag() {
  if (pos_ >= bytes_.size()) ReadError();
  return uint8_t(bytes_[pos_]);
}

uint8_t TableReader::ReadTag() {
  uint8_t t = PeekTag();
  ++pos_;
  return t;
}

void TableReader::ReadListBegin() {
  if (ReadTag() != itList) InvalidValue();
}

void TableReader::ReadListEnd() {
  if (ReadTag() != itNull) InvalidValue();
}

int32_t TableReader::ReadIntegerPayload(uint8_t tag) {
  switch (tag) {
    case itInt8: {
      int8_t v;
      ReadRaw(&v, 1);
      return v;
    }
    case itInt16: {
      uint8_t b[2];
      ReadRaw(b, 2);
      return int16_t(uint16_t(ByteReader(b, 2).Le16Or0(0)));
    }
    case itInt32: {
      uint8_t b[4];
      ReadRaw(b, 4);
      return int32_t(LittleEndian(b, 4));
    }
    default:
      InvalidValue();
  }
}

int32_t TableReader::ReadInteger() { return ReadIntegerPayload(ReadTag()); }

std::string TableReader::ReadString() {
  uint8_t tag = ReadTag();
  size_t length;
  if (tag == itString) {
    uint8_t l;
    ReadRaw(&l, 1);
    length = l;
  } else if (tag == itLString) {
    uint8_t b[4];
    ReadRaw(b, 4);
    length = size_t(LittleEndian(b, 4));
  } else {
    InvalidValue();
  }
  // The length is checked against the bytes left before anything is allocated.
  if (length > Remaining()) ReadError();
  std::string s(bytes_.substr(pos_, length));
  pos_ += length;
  // A string of an earlier release is in the ANSI code page; it comes out as
  // UTF-8 and is written back so at the next save (ASCII reads the same).
  if (!IsValidUtf8(s)) s = AnsiToUtf8(s);
  return s;
}

bool TableReader::ReadBoolean() { return ReadTag() == itTrue; }

double TableReader::ReadFloat() {
  uint8_t tag = ReadTag();
  if (tag == itExtended) {
    uint8_t b[10];
    ReadRaw(b, 10);
    return DecodeExtended(b);
  }
  return double(ReadIntegerPayload(tag));
}

}  // namespace tov
