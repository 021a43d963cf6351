// One value of a record table and its conversions. Each column type keeps its
// values in one form: integers as int32_t, booleans as bool, floats and dates
// as double, Currency and BCD as an int64_t amount in ten-thousandths, every
// other type as its bytes. A null value is std::monostate.
#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "tables/FieldTypes.h"

namespace tov {

using TValue = std::variant<std::monostate, int32_t, bool, double, int64_t, std::string>;

inline bool IsNullValue(const TValue& v) { return std::holds_alternative<std::monostate>(v); }

// Reading a value in another form. A null reads as "", 0, false and 0.0;
// text that does not convert raises a TableError.
std::string ValueText(const TValue& v);
int32_t ValueInteger(const TValue& v);
bool ValueBoolean(const TValue& v);
double ValueFloat(const TValue& v);

// The value a column of that type holds after text, an integer, a boolean or
// a float has been written to it. Empty text makes a non-text column null;
// text stored in a String column keeps at most `size` characters and stops at
// the first zero byte. Text that does not convert raises a TableError naming
// `fieldName`.
TValue ValueFromText(const std::string& text, TFieldType type, int size, const std::string& fieldName);
TValue ValueFromInteger(int32_t v, TFieldType type, int size);
TValue ValueFromBoolean(bool v, TFieldType type, int size);
TValue ValueFromFloat(double v, TFieldType type, int size);

// Text as an integer: optional blanks in front, an optional sign, decimal
// digits or "$"/"0x" followed by hexadecimal digits; false when it is not one
// or does not fit in 32 bits.
bool ParseTableInteger(const std::string& text, int32_t* out);
// Text as a float: "." or "," as the decimal separator, an optional exponent.
bool ParseTableFloat(const std::string& text, double* out);

// Ascending order of two values of one column: null first.
int CompareValues(const TValue& a, const TValue& b);

}  // namespace tov
