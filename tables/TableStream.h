// The tagged items of a table file: every value is one tag byte and its
// bytes; lists open with itList and close with itNull. TableWriter appends
// items to a byte string; TableReader reads them back and raises TableError
// with the file's own messages ("Stream read error" when the bytes end inside
// an item, "Invalid property value" for an unexpected tag).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

enum TValueTag : uint8_t {
  itNull = 0x00,
  itList = 0x01,
  itInt8 = 0x02,
  itInt16 = 0x03,
  itInt32 = 0x04,
  itExtended = 0x05,
  itString = 0x06,
  itFalse = 0x08,
  itTrue = 0x09,
  itLString = 0x0C,
};

class TableWriter {
 public:
  explicit TableWriter(std::string* out) : out_(out) {}
  void WriteRaw(std::string_view bytes) { out_->append(bytes); }
  void WriteListBegin() { out_->push_back(char(itList)); }
  void WriteListEnd() { out_->push_back(char(itNull)); }
  void WriteInteger(int32_t v);  // the smallest of the three integer forms
  void WriteString(std::string_view s);
  void WriteBoolean(bool v) { out_->push_back(char(v ? itTrue : itFalse)); }
  void WriteFloat(double v);

 private:
  std::string* out_;
};

class TableReader {
 public:
  explicit TableReader(std::string_view bytes) : bytes_(bytes) {}
  size_t Position() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }

  void ReadRaw(void* out, size_t n);
  uint8_t PeekTag();  // the next tag, not consumed
  bool EndOfList() { return PeekTag() == itNull; }
  void ReadListBegin();
  void ReadListEnd();
  int32_t ReadInteger();
  std::string ReadString();
  bool ReadBoolean();  // true exactly for itTrue; consumes one byte
  double ReadFloat();  // itExtended or any integer item

 private:
  uint8_t ReadTag();
  int32_t ReadIntegerPayload(uint8_t tag);

  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace tov
