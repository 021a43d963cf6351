// Dates as the user's locale writes them in its short format ("22/11/2003",
// "11/22/2003", "2003-11-22", "22.11.03" ...): the order of day, month and
// year is that of the system's own short date.
#pragma once
#include <string>

#include "platform/Files.h"

namespace tov {

// Reads day, month and year in the locale's order, separated by anything but
// digits; a year of one or two digits lies within 50 years of now, and a
// missing year is this year. With allowTime, what follows the date after a
// blank (a time) is left alone. False for anything else, or no real date.
bool ParseLocaleDate(const std::string& text, DateTime* date, bool allowTime = false);
// The date as the locale's short format writes it.
std::string LocaleDateText(const DateTime& date);

// A number as the user writes it: the decimal separator of the locale (no
// platform installed: '.'); def when the text is not one.
double TextToFloat(const std::string& text, double def);

}  // namespace tov
