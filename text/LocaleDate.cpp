#include "text/LocaleDate.h"

#include <array>
#include <cctype>

#include "base/Strings.h"
#include "platform/Platform.h"

namespace tov {

namespace {

enum Field { kDay, kMonth, kYear };

// The order of the fields in the locale's short date, read off a date whose
// day, month and year cannot be mistaken for one another.
std::array<Field, 3> LocaleOrder() {
  DateTime probe;
  probe.year = 2003;
  probe.month = 11;
  probe.day = 22;
  const std::string text = System().FormatShortDate(probe);
  size_t day = text.find("22"), month = text.find("11"), year = text.find("03");
  if (day == std::string::npos || month == std::string::npos || year == std::string::npos) return {kDay, kMonth, kYear};
  if (year < day && year < month) return {kYear, month < day ? kMonth : kDay, month < day ? kDay : kMonth};
  if (month < day) return {kMonth, kDay, kYear};
  return {kDay, kMonth, kYear};
}

bool IsLeap(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

bool RealDate(int y, int m, int d) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  return d <= kDays[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0);
}

}  // namespace

bool ParseLocaleDate(const std::string& text, DateTime* date, bool allowTime) {
  int numbers[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int count = 0;
  size_t i = 0;
  auto blank = [&](size_t k) { return k < text.size() && (text[k] == ' ' || text[k] == '\t'); };
  while (blank(i))
    ++i;
  while (i < text.size() && count < 3) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (digits[count] >= 4) return false;
      numbers[count] = numbers[count] * 10 + (text[i] - '0');
      ++digits[count];
      ++i;
    }
    ++count;
    if (count == 3 || i >= text.size() || blank(i)) break;
    // One separator: anything but a digit, a blank, or a letter.
    if (std::isalpha(static_cast<unsigned char>(text[i]))) return false;
    ++i;
    while (blank(i) && count < 3 && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))
      ++i;
  }
  // What may follow: blanks, or a time after a blank when allowed.
  size_t rest = i;
  while (blank(rest))
    ++rest;
  if (rest < text.size() && !(allowTime && rest > i)) return false;
  if (count < 2) return false;
  const std::array<Field, 3> order = LocaleOrder();
  int day = 0, month = 0, year = 0, yearDigits = 0;
  int used = 0;
  for (Field f : order) {
    if (f == kYear && count == 2) continue;  // no year written
    const int n = numbers[used], nd = digits[used];
    ++used;
    if (f == kDay) day = n;
    if (f == kMonth) month = n;
    if (f == kYear) {
      year = n;
      yearDigits = nd;
    }
  }
  const int now = System().Now().year;
  if (count == 2) {
    year = now;
  } else if (yearDigits <= 2) {
    // Within 50 years of now.
    year += now / 100 * 100;
    if (year < now - 50) year += 100;
    if (year > now + 50) year -= 100;
  }
  if (!RealDate(year, month, day)) return false;
  *date = DateTime{};
  date->year = year;
  date->month = month;
  date->day = day;
  return true;
}

std::string LocaleDateText(const DateTime& date) { return System().FormatShortDate(date); }

double TextToFloat(const std::string& text, double def) {
  char sep = Sys().system ? System().DecimalSeparator() : '.';
  double v = 0;
  return ParseFloat(text, sep, &v) ? v : def;
}

}  // namespace tov
