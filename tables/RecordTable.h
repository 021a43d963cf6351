// TRecordTable: an in-memory table with typed columns, a cursor and an
// optional sort column, saved whole to a table file and loaded back.
//
//   TRecordTable t("TblLinks");
//   t.AddFieldDef("Ordine", ftInteger);
//   t.AddFieldDef("Caption", ftString, 256);
//   t.CreateTable();                       // columns built, no rows, open
//   t.SortOn("Ordine");                    // rows kept in ascending "Ordine"
//   t.Append();
//   t.FieldByName("Ordine").SetAsInteger(3);
//   t.Post();                              // the posted row stays current
//   for (t.First(); !t.Eof(); t.Next()) Use(t.FieldByName("Caption").AsString());
//   if (t.Locate("Ordine", "3")) { t.Edit(); ...; t.Post(); }
//
// Moving the cursor, locating, sorting or appending while a row is being
// edited or appended posts it first. Errors (a missing column, a value that
// does not convert, a damaged file) raise TableError.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tables/Field.h"
#include "tables/FieldTypes.h"
#include "tables/TableValue.h"

namespace tov {

class TBinaryTableFormat;

enum class TTableState { Inactive, Browse, Edit, Insert };

// A remembered row; 0 stands for none.
using TBookmark = uint64_t;

struct TTableRecord {
  uint64_t id = 0;  // record number, in insertion order
  std::vector<TValue> values;
};

class TRecordTable final : private IFieldRow {
 public:
  explicit TRecordTable(std::string name = std::string());
  ~TRecordTable();
  TRecordTable(const TRecordTable&) = delete;
  TRecordTable& operator=(const TRecordTable&) = delete;

  const std::string& Name() const { return name_; }

  // Column definitions: they take effect at CreateTable (or at Open when the
  // table has no fields yet).
  void AddFieldDef(const std::string& name, TFieldType type, int size = 0, bool required = false);
  void ClearFieldDefs() { fieldDefs_.clear(); }
  const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }
  int IndexOfFieldDef(const std::string& name) const;  // -1 when missing; ignores case
  // Rebuilds the fields from the definitions; the table is open and empty.
  void CreateTable();

  std::vector<TIndexDef>& IndexDefs() { return indexDefs_; }
  const std::vector<TIndexDef>& IndexDefs() const { return indexDefs_; }

  // Fields, in column order. FieldByName raises "<table>: Field '<name>' not found".
  int FieldCount() const { return int(fields_.size()); }
  TField& Field(int index) const { return *fields_.at(size_t(index)); }
  TField* FindField(const std::string& name) const;
  TField& FieldByName(const std::string& name) const;

  // Closing empties the table; opening makes it usable with its columns.
  void Open();
  void Close();
  bool Active() const { return state_ != TTableState::Inactive; }
  TTableState State() const { return state_; }

  // The cursor, in the current order. Next at the last row sets Eof and
  // stays; Prior at the first row sets Bof and stays.
  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  int RecNo() const;  // 1-based position of the current row; 0 when none

  // Append adds a row at the end and makes it current; Edit puts the current
  // row in edit state (on an empty table it appends); Post stores the row,
  // which takes its place in the sort order and stays current.
  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();  // the row after the deleted one becomes current

  // Makes the first row whose column equals the text (converted to the
  // column's type; text compared with exact letter case) current; false and
  // the cursor unmoved when none does.
  bool Locate(const std::string& fieldName, const std::string& value);

  int GetRecordCount() const { return int(rows_.size()); }
  bool IsEmpty() const { return rows_.empty(); }
  void EmptyTable();  // columns and sort column stay

  // Keeps the rows in ascending order of the columns ("A;B"); an empty text
  // returns to insertion order. Options are accepted and ignored.
  void SortOn(const std::string& fieldNames, const std::string& options = std::string());
  const std::string& SortFieldNames() const { return sortNames_; }

  TBookmark GetBookmark() const;
  bool BookmarkValid(TBookmark b) const;
  bool GotoBookmark(TBookmark b);  // false (cursor unmoved) when the row is gone
  void FreeBookmark(TBookmark) {}

  // Whole-table save and load through a table format (BinaryTableFormat.h).
  // A load that fails leaves the table as it was and raises TableError.
  void SaveToStreamViaFormat(std::string& stream, TBinaryTableFormat& format);
  void LoadFromStreamViaFormat(const std::string& stream, TBinaryTableFormat& format);
  void SaveToFileViaFormat(const std::string& fileName, TBinaryTableFormat& format);
  void LoadFromFileViaFormat(const std::string& fileName, TBinaryTableFormat& format);

  // The current row's values, for the field objects. Writing needs edit or
  // append state.
  const TValue& CurrentValue(int index) const override;
  TValue& WritableValue(int index) override;

  // For the table file: the posted rows in current or insertion order, the
  // replacement of the whole structure, and loaded rows added at once.
  std::vector<const TTableRecord*> Records(bool currentOrder) const;
  void ReplaceStructure(const std::vector<TFieldDef>& defs);
  void AddLoadedRecords(std::vector<std::vector<TValue>>&& rows);

 private:
  void BuildFields();
  void CheckBrowseMode();  // posts a row being edited or appended
  int CompareKeys(const std::vector<TValue>& a, const std::vector<TValue>& b) const;
  size_t SortPosition(const std::vector<TValue>& values) const;
  void ResortKeepingCursor();
  std::string Prefix() const { return name_.empty() ? std::string() : name_ + ": "; }

  std::string name_;
  std::vector<TFieldDef> fieldDefs_;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<TIndexDef> indexDefs_;
  std::vector<std::unique_ptr<TTableRecord>> rows_;  // in current order
  std::vector<int> sortFields_;
  std::string sortNames_;
  TTableState state_ = TTableState::Inactive;
  int cur_ = -1;
  int beforeAppend_ = -1;
  bool eof_ = true, bof_ = true;
  std::vector<TValue> buffer_;  // the row being edited or appended
  uint64_t nextId_ = 1;
  int32_t autoInc_ = 0;
};

}  // namespace tov
