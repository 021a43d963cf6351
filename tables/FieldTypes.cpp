#include "tables/FieldTypes.h"

namespace tov {

namespace {

const char* const kTypeNames[kFieldTypeCount] = {
    "Unknown", "String",  "SmallInt", "Integer",    "Word",     "Boolean",     "Float",   "Currency",
    "BCD",     "Date",    "Time",     "DateTime",   "Bytes",    "VarBytes",    "AutoInc", "Blob",
    "Memo",    "Graphic", "FmtMemo",  "ParadoxOle", "dBaseOle", "TypedBinary", "Cursor"};

const char* const kKindNames[kFieldKindCount] = {"Data", "Calculated", "Lookup", "InternalCalc", "Aggregate"};

}  // namespace

const char* FieldTypeName(TFieldType type) {
  return type >= 0 && type < kFieldTypeCount ? kTypeNames[type] : kTypeNames[ftUnknown];
}

int FieldTypeByName(const std::string& name) {
  for (int i = 0; i < kFieldTypeCount; ++i)
    if (name == kTypeNames[i]) return i;
  return -1;
}

const char* FieldKindName(TFieldKind kind) {
  return kind >= 0 && kind < kFieldKindCount ? kKindNames[kind] : kKindNames[fkData];
}

int FieldKindByName(const std::string& name) {
  for (int i = 0; i < kFieldKindCount; ++i)
    if (name == kKindNames[i]) return i;
  return -1;
}

bool IsIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

bool IsFloatType(TFieldType type) { return type == ftFloat || IsMoneyType(type) || IsDateTimeType(type); }

bool IsDateTimeType(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

bool IsMoneyType(TFieldType type) { return type == ftCurrency || type == ftBCD; }

bool IsBlobType(TFieldType type) { return type >= ftBlob && type <= ftTypedBinary; }

}  // namespace tov
