// TBinaryTableFormat: the table file. It turns a whole record table (its
// field definitions, index definitions and rows) into bytes and back:
//
//   std::string bytes;
//   format.Save(table, bytes);   // or table.SaveToFileViaFormat(path, format)
//   format.Load(table, bytes);   // or table.LoadFromFileViaFormat(path, format)
//
// The writer always writes version 251; the reader takes every older layout.
// A load parses the whole stream before it touches the table, so a damaged
// file raises TableError and leaves the table as it was.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

class TField;
class TRecordTable;

// Save and load options of the format object.
enum TStreamFlag : uint32_t {
  sfSaveData = 1u << 0,
  sfLoadData = 1u << 1,
  sfSaveCalculated = 1u << 2,
  sfLoadCalculated = 1u << 3,
  sfSaveLookup = 1u << 4,
  sfLoadLookup = 1u << 5,
  sfSaveNonVisible = 1u << 6,
  sfLoadNonVisible = 1u << 7,
  sfSaveBlobs = 1u << 8,
  sfLoadBlobs = 1u << 9,
  sfSaveDef = 1u << 10,
  sfLoadDef = 1u << 11,
  sfSaveIndexDef = 1u << 12,
  sfLoadIndexDef = 1u << 13,
  sfSaveFiltered = 1u << 14,
  sfSaveIgnoreRange = 1u << 15,
  sfSaveIgnoreMasterDetail = 1u << 16,
  sfSaveUsingIndex = 1u << 17,
  sfSaveFieldKind = 1u << 18,
  sfLoadFromStart = 1u << 19,
  sfSaveDeltas = 1u << 20,
  sfSaveDontFilterDeltas = 1u << 21,
  sfSaveAppend = 1u << 22,
};

// The options the program's one format object carries for every file.
constexpr uint32_t kSaveFormatOptions = sfSaveData | sfLoadData | sfSaveNonVisible | sfLoadNonVisible | sfSaveBlobs |
                                        sfLoadBlobs | sfSaveDef | sfLoadDef | sfSaveIndexDef | sfLoadIndexDef |
                                        sfSaveFiltered | sfSaveIgnoreRange | sfSaveIgnoreMasterDetail |
                                        sfSaveUsingIndex | sfSaveFieldKind | sfLoadFromStart;

class TBinaryTableFormat {
 public:
  static constexpr int kVersion = 251;
  static constexpr int kMinBufferSize = 16384;

  explicit TBinaryTableFormat(std::string name = std::string()) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

  uint32_t Options = kSaveFormatOptions;
  int BufferSize() const { return bufferSize_; }
  void SetBufferSize(int size) { bufferSize_ = size < kMinBufferSize ? kMinBufferSize : size; }

  // The whole table as the bytes of a table file (the stream is replaced).
  void Save(TRecordTable& table, std::string& stream);
  // Reads a table file into the table: with sfLoadDef its columns are
  // replaced by the file's; the file's rows are added.
  void Load(TRecordTable& table, std::string_view stream);
  int LoadedVersion() const { return loadedVersion_; }  // of the last stream read

  // Whether a field goes into the file under the save options.
  bool IsSavedField(const TField& field) const;

 private:
  std::string name_;
  int bufferSize_ = kMinBufferSize;
  int loadedVersion_ = 0;
};

}  // namespace tov
