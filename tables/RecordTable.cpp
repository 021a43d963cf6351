#include "tables/RecordTable.h"

#include <algorithm>

#include "base/Casefold.h"
#include "tables/TableError.h"

namespace tov {

namespace {

const TValue kNull{};

}  // namespace

TRecordTable::TRecordTable(std::string name) : name_(std::move(name)) {}
TRecordTable::~TRecordTable() = default;

void TRecordTable::AddFieldDef(const std::string& name, TFieldType type, int size, bool required) {
  fieldDefs_.push_back(TFieldDef{name, type, size, required});
}

int TRecordTable::IndexOfFieldDef(const std::string& name) const {
  for (size_t i = 0; i < fieldDefs_.size(); ++i)
    if (SameNameIgnoringCase(fieldDefs_[i].Name, name)) return int(i);
  return -1;
}

void TRecordTable::BuildFields() {
  fields_.clear();
  for (size_t i = 0; i < fieldDefs_.size(); ++i)
    fields_.push_back(std::make_unique<TField>(static_cast<IFieldRow*>(this), int(i), fieldDefs_[i]));
}

void TRecordTable::CreateTable() {
  Close();
  BuildFields();
  sortFields_.clear();
  sortNames_.clear();
  Open();
}

TField* TRecordTable::FindField(const std::string& name) const {
  for (const auto& f : fields_)
    if (SameNameIgnoringCase(f->FieldName(), name)) return f.get();
  return nullptr;
}

TField& TRecordTable::FieldByName(const std::string& name) const {
  TField* f = FindField(name);
  if (!f) throw TableError(Prefix() + "Field '" + name + "' not found");
  return *f;
}

void TRecordTable::Open() {
  if (Active()) return;
  if (fields_.empty()) BuildFields();
  state_ = TTableState::Browse;
  First();
}

void TRecordTable::Close() {
  EmptyTable();
  state_ = TTableState::Inactive;
}

void TRecordTable::CheckBrowseMode() {
  if (state_ == TTableState::Edit || state_ == TTableState::Insert) Post();
}

void TRecordTable::First() {
  CheckBrowseMode();
  cur_ = rows_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = rows_.empty();
}

void TRecordTable::Last() {
  CheckBrowseMode();
  cur_ = int(rows_.size()) - 1;
  eof_ = true;
  bof_ = rows_.empty();
}

void TRecordTable::Next() {
  CheckBrowseMode();
  bof_ = false;
  if (cur_ + 1 < int(rows_.size())) {
    ++cur_;
    eof_ = false;
  } else {
    eof_ = true;
  }
}

void TRecordTable::Prior() {
  CheckBrowseMode();
  eof_ = false;
  if (cur_ > 0) {
    --cur_;
    bof_ = false;
  } else {
    bof_ = true;
    eof_ = rows_.empty();
  }
}

int TRecordTable::RecNo() const {
  if (state_ == TTableState::Insert || cur_ < 0) return 0;
  return cur_ + 1;
}

void TRecordTable::Append() {
  CheckBrowseMode();
  if (state_ == TTableState::Inactive) Open();
  beforeAppend_ = cur_;
  buffer_.assign(fields_.size(), TValue{});
  for (const auto& f : fields_)
    if (f->DataType() == ftAutoInc) buffer_[size_t(f->Index())] = ++autoInc_;
  state_ = TTableState::Insert;
  eof_ = bof_ = false;
}

void TRecordTable::Edit() {
  if (state_ == TTableState::Edit || state_ == TTableState::Insert) return;
  if (rows_.empty() || cur_ < 0) {
    Append();
    return;
  }
  buffer_ = rows_[size_t(cur_)]->values;
  state_ = TTableState::Edit;
}

int TRecordTable::CompareKeys(const std::vector<TValue>& a, const std::vector<TValue>& b) const {
  for (int f : sortFields_) {
    int c = CompareValues(a[size_t(f)], b[size_t(f)]);
    if (c != 0) return c;
  }
  return 0;
}

size_t TRecordTable::SortPosition(const std::vector<TValue>& values) const {
  // In front of every row with the same key.
  auto it = std::lower_bound(rows_.begin(), rows_.end(), values,
                             [&](const std::unique_ptr<TTableRecord>& r, const std::vector<TValue>& v) {
                               return CompareKeys(r->values, v) < 0;
                             });
  return size_t(it - rows_.begin());
}

void TRecordTable::Post() {
  if (state_ != TTableState::Edit && state_ != TTableState::Insert) return;
  for (const auto& f : fields_)
    if (f->Required() && IsNullValue(buffer_[size_t(f->Index())]))
      throw TableError(Prefix() + "Field '" + f->FieldName() + "' must have a value");
  if (state_ == TTableState::Insert) {
    auto rec = std::make_unique<TTableRecord>();
    rec->id = nextId_++;
    rec->values = std::move(buffer_);
    size_t pos = sortFields_.empty() ? rows_.size() : SortPosition(rec->values);
    rows_.insert(rows_.begin() + long(pos), std::move(rec));
    cur_ = int(pos);
  } else {
    TTableRecord& rec = *rows_[size_t(cur_)];
    bool moved = !sortFields_.empty() && CompareKeys(rec.values, buffer_) != 0;
    rec.values = std::move(buffer_);
    if (moved) {
      std::unique_ptr<TTableRecord> held = std::move(rows_[size_t(cur_)]);
      rows_.erase(rows_.begin() + cur_);
      size_t pos = SortPosition(held->values);
      rows_.insert(rows_.begin() + long(pos), std::move(held));
      cur_ = int(pos);
    }
  }
  buffer_.clear();
  state_ = TTableState::Browse;
  eof_ = bof_ = false;
}

void TRecordTable::Cancel() {
  if (state_ == TTableState::Insert) cur_ = beforeAppend_;
  if (state_ == TTableState::Edit || state_ == TTableState::Insert) {
    buffer_.clear();
    state_ = TTableState::Browse;
    eof_ = rows_.empty();
    bof_ = rows_.empty();
  }
}

void TRecordTable::Delete() {
  if (state_ == TTableState::Insert) {
    Cancel();
    return;
  }
  if (rows_.empty() || cur_ < 0) throw TableError(Prefix() + "Cannot perform this operation on an empty dataset");
  buffer_.clear();
  if (state_ == TTableState::Edit) state_ = TTableState::Browse;
  rows_.erase(rows_.begin() + cur_);
  bof_ = false;
  eof_ = false;
  if (cur_ >= int(rows_.size())) {
    cur_ = int(rows_.size()) - 1;
    eof_ = true;
  }
  if (rows_.empty()) bof_ = true;
}

bool TRecordTable::Locate(const std::string& fieldName, const std::string& value) {
  TField& f = FieldByName(fieldName);
  CheckBrowseMode();
  const TFieldType type = f.DataType();
  TValue wanted = value;  // text columns compare the text as given
  if (IsIntegerType(type) || type == ftBoolean || IsFloatType(type)) {
    try {
      wanted = ValueFromText(value, type, f.Size(), f.FieldName());
    } catch (const TableError&) {
      return false;  // no row can hold a value the column cannot take
    }
  }
  const bool text = std::holds_alternative<std::string>(wanted);
  const size_t col = size_t(f.Index());
  for (size_t i = 0; i < rows_.size(); ++i) {
    const TValue& v = rows_[i]->values[col];
    bool match = text ? ValueText(v) == std::get<std::string>(wanted)
                      : (v.index() == wanted.index() && CompareValues(v, wanted) == 0);
    if (match) {
      cur_ = int(i);
      eof_ = bof_ = false;
      return true;
    }
  }
  return false;
}

void TRecordTable::EmptyTable() {
  buffer_.clear();
  if (state_ == TTableState::Edit || state_ == TTableState::Insert) state_ = TTableState::Browse;
  rows_.clear();
  cur_ = -1;
  eof_ = bof_ = true;
}

void TRecordTable::ResortKeepingCursor() {
  const TTableRecord* current = cur_ >= 0 && cur_ < int(rows_.size()) ? rows_[size_t(cur_)].get() : nullptr;
  if (sortFields_.empty()) {
    std::stable_sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) { return a->id < b->id; });
  } else {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&](const auto& a, const auto& b) { return CompareKeys(a->values, b->values) < 0; });
  }
  if (current)
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].get() == current) cur_ = int(i);
}

void TRecordTable::SortOn(const std::string& fieldNames, const std::string& /*options*/) {
  CheckBrowseMode();
  std::vector<int> fields;
  size_t start = 0;
  while (start <= fieldNames.size()) {
    size_t end = fieldNames.find(';', start);
    if (end == std::string::npos) end = fieldNames.size();
    std::string name = fieldNames.substr(start, end - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) fields.push_back(FieldByName(name).Index());
    start = end + 1;
  }
  sortFields_ = std::move(fields);
  sortNames_ = sortFields_.empty() ? std::string() : fieldNames;
  ResortKeepingCursor();
}

TBookmark TRecordTable::GetBookmark() const {
  if (state_ == TTableState::Insert || cur_ < 0 || cur_ >= int(rows_.size())) return 0;
  return rows_[size_t(cur_)]->id;
}

bool TRecordTable::BookmarkValid(TBookmark b) const {
  if (b == 0) return false;
  for (const auto& r : rows_)
    if (r->id == b) return true;
  return false;
}

bool TRecordTable::GotoBookmark(TBookmark b) {
  CheckBrowseMode();
  if (b == 0) return false;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i]->id == b) {
      cur_ = int(i);
      eof_ = bof_ = false;
      return true;
    }
  return false;
}

const TValue& TRecordTable::CurrentValue(int index) const {
  if (index < 0 || size_t(index) >= fields_.size()) return kNull;
  if (state_ == TTableState::Edit || state_ == TTableState::Insert) return buffer_[size_t(index)];
  if (cur_ < 0 || cur_ >= int(rows_.size())) return kNull;
  return rows_[size_t(cur_)]->values[size_t(index)];
}

TValue& TRecordTable::WritableValue(int index) {
  if (state_ != TTableState::Edit && state_ != TTableState::Insert)
    throw TableError(Prefix() + "Dataset not in edit or insert mode");
  return buffer_.at(size_t(index));
}

std::vector<const TTableRecord*> TRecordTable::Records(bool currentOrder) const {
  std::vector<const TTableRecord*> out;
  out.reserve(rows_.size());
  for (const auto& r : rows_)
    out.push_back(r.get());
  if (!currentOrder)
    std::sort(out.begin(), out.end(), [](const TTableRecord* a, const TTableRecord* b) { return a->id < b->id; });
  return out;
}

void TRecordTable::ReplaceStructure(const std::vector<TFieldDef>& defs) {
  Close();
  fieldDefs_ = defs;
  BuildFields();
  sortFields_.clear();
  sortNames_.clear();
  Open();
}

void TRecordTable::AddLoadedRecords(std::vector<std::vector<TValue>>&& rows) {
  CheckBrowseMode();
  if (state_ == TTableState::Inactive) Open();
  rows_.reserve(rows_.size() + rows.size());
  for (auto& values : rows) {
    values.resize(fields_.size());
    for (const auto& f : fields_)
      if (f->DataType() == ftAutoInc) autoInc_ = std::max(autoInc_, ValueInteger(values[size_t(f->Index())]));
    auto rec = std::make_unique<TTableRecord>();
    rec->id = nextId_++;
    rec->values = std::move(values);
    rows_.push_back(std::move(rec));
  }
  if (!sortFields_.empty()) ResortKeepingCursor();
  First();
}

}  // namespace tov
