#include "tables/TableValue.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "tables/TableError.h"

namespace tov {

namespace {

std::string FloatText(double d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", d);
  return buf;
}

int32_t RoundToInt32(double d) {
  if (std::isnan(d)) return 0;
  double r = std::round(d);
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return int32_t(r);
}

int64_t MoneyFromFloat(double d) {
  double r = std::round(d * 10000.0);
  if (std::isnan(r)) return 0;
  if (r >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return int64_t(r);
}

// A prefix of "True" or "False", compared without regard to letter case.
int BooleanPrefix(const std::string& text) {
  auto prefixOf = [&](const char* word) {
    if (text.size() > std::strlen(word)) return false;
    for (size_t i = 0; i < text.size(); ++i)
      if (AsciiUpper(text[i]) != AsciiUpper(word[i])) return false;
    return true;
  };
  if (prefixOf("False")) return 0;
  if (prefixOf("True")) return 1;
  return -1;
}

std::string CutText(const std::string& text, TFieldType type, int size) {
  if (type != ftString) return text;
  // The size counts characters, and a cut never ends inside one.
  std::string s = text.substr(0, text.find('\0'));
  if (size >= 0) s = std::string(Utf8CutToChars(s, size_t(size)));
  return s;
}

}  // namespace

bool ParseTableInteger(const std::string& text, int32_t* out) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    int d;
    char c = text[i];
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    v = v * base + d;
    if (v > 0x100000000LL) return false;
  }
  if (negative) v = -v;
  if (base == 16 && !negative && v <= 0xFFFFFFFFLL) v = int32_t(uint32_t(v));
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
  *out = int32_t(v);
  return true;
}

bool ParseTableFloat(const std::string& text, double* out) {
  std::string s = text;
  size_t b = s.find_first_not_of(' ');
  size_t e = s.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  s = s.substr(b, e - b + 1);
  for (char& c : s)
    if (c == ',') c = '.';
  for (char c : s)
    if (!(std::isdigit((unsigned char)c) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno == ERANGE) return false;
  *out = d;
  return true;
}

std::string ValueText(const TValue& v) {
  switch (v.index()) {
    case 1:
      return std::to_string(std::get<int32_t>(v));
    case 2:
      return std::get<bool>(v) ? "True" : "False";
    case 3:
      return FloatText(std::get<double>(v));
    case 4:
      return FloatText(double(std::get<int64_t>(v)) / 10000.0);
    case 5:
      return std::get<std::string>(v);
    default:
      return std::string();
  }
}

int32_t ValueInteger(const TValue& v) {
  switch (v.index()) {
    case 1:
      return std::get<int32_t>(v);
    case 2:
      return std::get<bool>(v) ? 1 : 0;
    case 3:
      return RoundToInt32(std::get<double>(v));
    case 4:
      return RoundToInt32(double(std::get<int64_t>(v)) / 10000.0);
    case 5: {
      const std::string& s = std::get<std::string>(v);
      int32_t r = 0;
      if (s.empty()) return 0;
      if (!ParseTableInteger(s, &r)) throw TableError("'" + s + "' is not a valid integer value");
      return r;
    }
    default:
      return 0;
  }
}

bool ValueBoolean(const TValue& v) {
  switch (v.index()) {
    case 1:
      return std::get<int32_t>(v) != 0;
    case 2:
      return std::get<bool>(v);
    case 3:
      return std::get<double>(v) != 0.0;
    case 4:
      return std::get<int64_t>(v) != 0;
    case 5: {
      const std::string& s = std::get<std::string>(v);
      return !s.empty() && std::strchr("YyTt1", s[0]) != nullptr;
    }
    default:
      return false;
  }
}

double ValueFloat(const TValue& v) {
  switch (v.index()) {
    case 1:
      return std::get<int32_t>(v);
    case 2:
      return std::get<bool>(v) ? 1.0 : 0.0;
    case 3:
      return std::get<double>(v);
    case 4:
      return double(std::get<int64_t>(v)) / 10000.0;
    case 5: {
      const std::string& s = std::get<std::string>(v);
      double d = 0;
      if (s.empty()) return 0.0;
      if (!ParseTableFloat(s, &d)) throw TableError("'" + s + "' is not a valid floating point value");
      return d;
    }
    default:
      return 0.0;
  }
}

TValue ValueFromText(const std::string& text, TFieldType type, int size, const std::string& fieldName) {
  if (IsIntegerType(type)) {
    if (text.empty()) return std::monostate{};
    int32_t v = 0;
    if (!ParseTableInteger(text, &v)) throw TableError("'" + text + "' is not a valid integer value");
    return v;
  }
  if (type == ftBoolean) {
    if (text.empty()) return std::monostate{};
    int b = BooleanPrefix(text);
    if (b < 0) throw TableError("'" + text + "' is not a valid boolean value for field '" + fieldName + "'");
    return b == 1;
  }
  if (IsFloatType(type)) {
    if (text.empty()) return std::monostate{};
    double d = 0;
    if (!ParseTableFloat(text, &d)) throw TableError("'" + text + "' is not a valid floating point value");
    return ValueFromFloat(d, type, size);
  }
  return CutText(text, type, size);
}

TValue ValueFromInteger(int32_t v, TFieldType type, int size) {
  if (IsIntegerType(type)) return v;
  if (type == ftBoolean) return v != 0;
  if (IsMoneyType(type)) return int64_t(v) * 10000;
  if (IsFloatType(type)) return double(v);
  return CutText(std::to_string(v), type, size);
}

TValue ValueFromBoolean(bool v, TFieldType type, int size) {
  if (IsIntegerType(type)) return int32_t(v ? 1 : 0);
  if (type == ftBoolean) return v;
  if (IsMoneyType(type)) return int64_t(v ? 10000 : 0);
  if (IsFloatType(type)) return v ? 1.0 : 0.0;
  return CutText(v ? "T" : "F", type, size);
}

TValue ValueFromFloat(double v, TFieldType type, int size) {
  if (IsIntegerType(type)) return RoundToInt32(v);
  if (type == ftBoolean) return v != 0.0;
  if (IsMoneyType(type)) return MoneyFromFloat(v);
  if (IsFloatType(type)) return v;
  return CutText(FloatText(v), type, size);
}

int CompareValues(const TValue& a, const TValue& b) {
  bool an = IsNullValue(a), bn = IsNullValue(b);
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  if (a.index() == 5 && b.index() == 5) {
    const std::string& x = std::get<std::string>(a);
    const std::string& y = std::get<std::string>(b);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  if (a.index() == 1 && b.index() == 1) {
    int32_t x = std::get<int32_t>(a), y = std::get<int32_t>(b);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  if (a.index() == 4 && b.index() == 4) {
    int64_t x = std::get<int64_t>(a), y = std::get<int64_t>(b);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  double x = ValueFloat(a), y = ValueFloat(b);
  return x < y ? -1 : (y < x ? 1 : 0);
}

}  // namespace tov
