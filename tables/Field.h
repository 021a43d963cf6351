// A column of a record table: its definition, its field object and the
// definition of an index. A field object reads and writes the value of its
// column in the table's current row:
//
//   table.FieldByName("Caption").SetAsString("Posta");
//   int w = table.FieldByName("Width").AsInteger();   // null reads as 0
//   if (table.FieldByName("Hotkey").IsNull()) ...
//
// Writing needs the table in edit or append state (Edit() or Append()).
#pragma once
#include <cstdint>
#include <string>

#include "tables/FieldTypes.h"
#include "tables/TableValue.h"

namespace tov {

// Where a field's values live: the current row of its table. The table
// implements it; the field needs nothing else of the table.
class IFieldRow {
 public:
  virtual const TValue& CurrentValue(int index) const = 0;
  // Writing needs the table in edit or append state.
  virtual TValue& WritableValue(int index) = 0;

 protected:
  ~IFieldRow() = default;
};

struct TFieldDef {
  std::string Name;
  TFieldType DataType = ftUnknown;
  int Size = 0;  // characters for String columns, 0 for the others
  bool Required = false;
};

struct TIndexDef {
  std::string Name;
  std::string Fields;  // the field list as text, "A;B"
  bool Descending = false;
  bool CaseInsensitive = false;
  bool Unique = false;
};

class TField {
 public:
  TField(IFieldRow* row, int index, const TFieldDef& def);

  const std::string& FieldName() const { return name_; }
  TFieldType DataType() const { return type_; }
  int Size() const { return size_; }
  bool Required() const { return required_; }
  int Index() const { return index_; }  // position among the table's fields

  // Attributes that travel with the field in a table file.
  TFieldKind FieldKind = fkData;
  std::string DisplayLabel;  // empty: the field name stands for it
  std::string EditMask;
  bool ReadOnly = false;
  int DisplayWidth = 0;  // 0: the type's default width
  bool Visible = true;

  // The label and width a table file records for this field.
  std::string EffectiveDisplayLabel() const { return DisplayLabel.empty() ? name_ : DisplayLabel; }
  int EffectiveDisplayWidth() const;

  // The value in the current row (null when the table has no current row).
  bool IsNull() const;
  std::string AsString() const;
  int32_t AsInteger() const;
  bool AsBoolean() const;
  double AsFloat() const;
  const TValue& Value() const;

  // Writing to the current row; see ValueFromText for the conversions.
  void SetAsString(const std::string& v);
  void SetAsInteger(int32_t v);
  void SetAsBoolean(bool v);
  void SetAsFloat(double v);
  void Clear();  // makes the value null
  // Stores a value already in the column's own form (see TableValue.h).
  void SetValue(TValue v);

 private:
  IFieldRow* row_;
  int index_;
  std::string name_;
  TFieldType type_;
  int size_;
  bool required_;
};

}  // namespace tov
