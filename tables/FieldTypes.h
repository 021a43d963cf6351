// Column types and kinds of a record table, numbered as the table file
// numbers them.
#pragma once
#include <string>

namespace tov {

enum TFieldType : int {
  ftUnknown = 0,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
};
constexpr int kFieldTypeCount = 23;

enum TFieldKind : int { fkData = 0, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
constexpr int kFieldKindCount = 5;

// "Unknown", "String", ... "Cursor": the names a table file uses.
const char* FieldTypeName(TFieldType type);
// The type with that exact name (letter case included), or -1.
int FieldTypeByName(const std::string& name);
// "Data", "Calculated", "Lookup", "InternalCalc", "Aggregate".
const char* FieldKindName(TFieldKind kind);
int FieldKindByName(const std::string& name);  // -1 when unknown

// SmallInt, Integer, Word and AutoInc: values held as 32-bit integers.
bool IsIntegerType(TFieldType type);
// Float, Currency, BCD, Date, Time and DateTime: values held as numbers.
bool IsFloatType(TFieldType type);
bool IsDateTimeType(TFieldType type);
bool IsMoneyType(TFieldType type);  // Currency and BCD, four fixed decimals
// Blob, Memo and the other large-object types.
bool IsBlobType(TFieldType type);

}  // namespace tov
