#include "tables/Field.h"

#include "tables/TableError.h"

namespace tov {

TField::TField(IFieldRow* row, int index, const TFieldDef& def)
    : row_(row), index_(index), name_(def.Name), type_(def.DataType), size_(def.Size), required_(def.Required) {}

int TField::EffectiveDisplayWidth() const {
  if (DisplayWidth >= 1) return DisplayWidth;
  if (type_ == ftBoolean) return 5;
  if (type_ == ftString) return size_;
  return 10;
}

const TValue& TField::Value() const { return row_->CurrentValue(index_); }
bool TField::IsNull() const { return IsNullValue(Value()); }
std::string TField::AsString() const { return ValueText(Value()); }
int32_t TField::AsInteger() const { return ValueInteger(Value()); }
bool TField::AsBoolean() const { return ValueBoolean(Value()); }
double TField::AsFloat() const { return ValueFloat(Value()); }

void TField::SetValue(TValue v) {
  if (ReadOnly) throw TableError("Field '" + name_ + "' cannot be modified");
  row_->WritableValue(index_) = std::move(v);
}

void TField::SetAsString(const std::string& v) { SetValue(ValueFromText(v, type_, size_, name_)); }
void TField::SetAsInteger(int32_t v) { SetValue(ValueFromInteger(v, type_, size_)); }
void TField::SetAsBoolean(bool v) { SetValue(ValueFromBoolean(v, type_, size_)); }
void TField::SetAsFloat(double v) { SetValue(ValueFromFloat(v, type_, size_)); }
void TField::Clear() { SetValue(std::monostate{}); }

}  // namespace tov
