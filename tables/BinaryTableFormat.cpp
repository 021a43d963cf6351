#include "tables/BinaryTableFormat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tables/RecordTable.h"
#include "tables/TableError.h"
#include "tables/TableStream.h"

namespace tov {

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

struct LoadedField {
  TFieldDef def;
  TFieldKind kind = fkData;
  std::string label, mask;
  bool readOnly = false;
  int width = 0;
};

// What a value occupies in a record: the field's type and size.
struct Slot {
  TFieldType type;
  int size;
};

void WriteValue(TableWriter& w, const TField& f, const TValue& v) {
  const TFieldType t = f.DataType();
  if (IsIntegerType(t))
    w.WriteInteger(ValueInteger(v));
  else if (t == ftBoolean)
    w.WriteBoolean(ValueBoolean(v));
  else if (IsFloatType(t))
    w.WriteFloat(ValueFloat(v));
  else
    w.WriteString(ValueText(v));
}

TValue ReadValue(TableReader& r, const Slot& s) {
  if (IsIntegerType(s.type)) return r.ReadInteger();
  if (s.type == ftBoolean) return r.ReadBoolean();
  if (s.type == ftFloat) return r.ReadFloat();
  if (IsMoneyType(s.type)) return ValueFromFloat(r.ReadFloat(), s.type, s.size);
  if (IsDateTimeType(s.type)) {
    double d = r.ReadFloat();
    if (d == 0.0) return std::monostate{};
    return d;
  }
  return ValueFromText(r.ReadString(), s.type, s.size, std::string());
}

void ReadValues(TableReader& r, int version, const std::vector<Slot>& slots, std::vector<TValue>& values) {
  values.resize(slots.size());
  for (size_t i = 0; i < slots.size(); ++i) {
    if (version >= 249 && r.ReadBoolean()) {
      values[i] = std::monostate{};
      continue;
    }
    values[i] = ReadValue(r, slots[i]);
  }
}

}  // namespace

bool TBinaryTableFormat::IsSavedField(const TField& f) const {
  if (IsBlobType(f.DataType()) && !(Options & sfSaveBlobs)) return false;
  switch (f.FieldKind) {
    case fkCalculated:
      if (!(Options & sfSaveCalculated)) return false;
      break;
    case fkLookup:
      if (!(Options & sfSaveLookup)) return false;
      break;
    case fkAggregate:
      return false;
    case fkData:
    case fkInternalCalc:
      if (!(Options & sfSaveData)) return false;
      break;
  }
  if (!f.Visible && !(Options & sfSaveNonVisible)) return false;
  return true;
}

void TBinaryTableFormat::Save(TRecordTable& table, std::string& stream) {
  stream.clear();
  std::vector<const TField*> fields;
  for (int i = 0; i < table.FieldCount(); ++i)
    if (IsSavedField(table.Field(i))) fields.push_back(&table.Field(i));

  TableWriter w(&stream);
  w.WriteRaw(std::string_view(kSignature, 4));
  w.WriteInteger(kVersion);

  w.WriteListBegin();
  if (Options & sfSaveDef) {
    for (const TField* f : fields) {
      w.WriteString(f->FieldName());
      w.WriteString(FieldTypeName(f->DataType()));
      w.WriteInteger(f->Size());
      w.WriteString(f->EffectiveDisplayLabel());
      w.WriteString(f->EditMask);
      w.WriteInteger(f->EffectiveDisplayWidth());
      w.WriteBoolean(f->Required());
      w.WriteBoolean(f->ReadOnly);
      w.WriteString(FieldKindName((Options & sfSaveFieldKind) ? f->FieldKind : fkData));
      w.WriteString("");
    }
  }
  w.WriteListEnd();

  w.WriteListBegin();
  if (Options & sfSaveIndexDef) {
    for (const TIndexDef& d : table.IndexDefs()) {
      w.WriteString(d.Name);
      w.WriteString(d.Fields);
      w.WriteString(d.Name);
      w.WriteBoolean(d.Descending);
      w.WriteBoolean(d.CaseInsensitive);
      w.WriteBoolean(false);
      w.WriteBoolean(d.Unique);
    }
  }
  w.WriteListEnd();

  w.WriteListBegin();
  for (const TTableRecord* rec : table.Records((Options & sfSaveUsingIndex) != 0)) {
    w.WriteListBegin();
    w.WriteInteger(0);  // no change history: every row is unchanged
    for (const TField* f : fields) {
      const TValue& v = rec->values[size_t(f->Index())];
      w.WriteBoolean(IsNullValue(v));
      if (!IsNullValue(v)) WriteValue(w, *f, v);
    }
    w.WriteListEnd();
  }
  w.WriteListEnd();
}

void TBinaryTableFormat::Load(TRecordTable& table, std::string_view stream) {
  TableReader r(stream);
  char signature[4];
  r.ReadRaw(signature, 4);
  if (!std::equal(signature, signature + 4, kSignature)) throw TableError("Invalid stream format");

  const int version = r.PeekTag() == itList ? 100 : r.ReadInteger();

  std::vector<LoadedField> defs;
  r.ReadListBegin();
  while (!r.EndOfList()) {
    LoadedField lf;
    lf.def.Name = r.ReadString();
    const std::string typeName = r.ReadString();
    lf.def.Size = r.ReadInteger() & 0xFFFF;
    lf.label = r.ReadString();
    lf.mask = r.ReadString();
    lf.width = r.ReadInteger();
    lf.def.Required = r.ReadBoolean();
    lf.readOnly = r.ReadBoolean();
    std::string kindName = version >= 250 ? r.ReadString() : "Data";
    if (version >= 251) r.ReadString();
    const int type = FieldTypeByName(typeName);
    if (type < 1 || type > 21) throw TableError("Unknown field type (" + typeName + ")");
    lf.def.DataType = TFieldType(type);
    const int kind = FieldKindByName(kindName);
    lf.kind = kind < 0 ? fkData : TFieldKind(kind);
    defs.push_back(std::move(lf));
  }
  r.ReadListEnd();

  std::vector<TIndexDef> indexDefs;
  bool hadIndexList = false;
  if (version >= 200) {
    hadIndexList = true;
    r.ReadListBegin();
    while (!r.EndOfList()) {
      TIndexDef d;
      d.Name = r.ReadString();
      d.Fields = r.ReadString();
      r.ReadString();
      d.Descending = r.ReadBoolean();
      d.CaseInsensitive = r.ReadBoolean();
      r.ReadBoolean();
      d.Unique = r.ReadBoolean();
      indexDefs.push_back(std::move(d));
    }
    r.ReadListEnd();
  }

  const bool replaceDefs = (Options & sfLoadDef) && !defs.empty();
  std::vector<Slot> slots;
  if (replaceDefs) {
    for (const LoadedField& lf : defs)
      slots.push_back(Slot{lf.def.DataType, lf.def.Size});
  } else {
    for (int i = 0; i < table.FieldCount(); ++i)
      slots.push_back(Slot{table.Field(i).DataType(), table.Field(i).Size()});
  }
  if (slots.empty()) throw TableError("Couldnt determine field count for load.");

  std::vector<std::vector<TValue>> rows;
  if (Options & sfLoadData) {
    // Every record takes at least one byte per value, plus its list and
    // status from version 230 on: the estimate never exceeds what the bytes hold.
    const size_t perRecord = slots.size() + (version >= 230 ? 4 : 0);
    rows.reserve(std::min<size_t>(r.Remaining() / perRecord, 65536));
    std::vector<TValue> earlier;
    r.ReadListBegin();
    while (!r.EndOfList()) {
      std::vector<TValue> values;
      if (version >= 230) {
        r.ReadListBegin();
        r.ReadInteger();
      }
      ReadValues(r, version, slots, values);
      if (version >= 230) {
        while (!r.EndOfList()) {  // earlier versions of the same row: read and dropped
          r.ReadInteger();
          ReadValues(r, version, slots, earlier);
        }
        r.ReadListEnd();
      }
      rows.push_back(std::move(values));
    }
    r.ReadListEnd();
  }

  // Everything was read: only now does the table change.
  loadedVersion_ = version;
  if (replaceDefs) {
    std::vector<TFieldDef> fieldDefs;
    for (const LoadedField& lf : defs)
      fieldDefs.push_back(lf.def);
    table.ReplaceStructure(fieldDefs);
    for (size_t i = 0; i < defs.size(); ++i) {
      TField& f = table.Field(int(i));
      f.FieldKind = defs[i].kind;
      f.DisplayLabel = defs[i].label == defs[i].def.Name ? std::string() : defs[i].label;
      f.EditMask = defs[i].mask;
      f.ReadOnly = defs[i].readOnly;
      f.DisplayWidth = defs[i].width;
    }
  }
  if (hadIndexList && (Options & sfLoadIndexDef) && !indexDefs.empty()) table.IndexDefs() = std::move(indexDefs);
  table.AddLoadedRecords(std::move(rows));
}

}  // namespace tov
