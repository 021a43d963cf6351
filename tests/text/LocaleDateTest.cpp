// Dates in the locale's short format: the field order read off the system,
// short and missing years, times after the date, and what is not a date.
#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "text/LocaleDate.h"

namespace tov {
namespace {

int Ymd(const DateTime& d) { return d.year * 10000 + d.month * 100 + d.day; }

TEST(LocaleDate, ReadsTheLocalesOrderAndWritesItBack) {
  host::HostPlatform hp;  // day/month/year, as the Italian locale writes it
  DateTime d;
  ASSERT_TRUE(ParseLocaleDate("25/12/2026", &d));
  EXPECT_EQ(Ymd(d), 20261225);
  EXPECT_EQ(LocaleDateText(d), "25/12/2026");
  ASSERT_TRUE(ParseLocaleDate(" 1/1/1899 ", &d));  // the dialog's default, blanks around it
  EXPECT_EQ(Ymd(d), 18990101);
  ASSERT_TRUE(ParseLocaleDate("3.4.2026", &d));  // any separator
  EXPECT_EQ(Ymd(d), 20260403);
  ASSERT_TRUE(ParseLocaleDate("29/02/2024", &d));
  // Short years lie within 50 years of now (2026); a missing year is this one.
  ASSERT_TRUE(ParseLocaleDate("1/2/30", &d));
  EXPECT_EQ(d.year, 2030);
  ASSERT_TRUE(ParseLocaleDate("1/2/80", &d));
  EXPECT_EQ(d.year, 1980);
  ASSERT_TRUE(ParseLocaleDate("1/2", &d));
  EXPECT_EQ(Ymd(d), 20260201);
  // A time after the date only where it is allowed.
  EXPECT_FALSE(ParseLocaleDate("02/03/2026 10:30:00", &d));
  ASSERT_TRUE(ParseLocaleDate("02/03/2026 10:30:00", &d, true));
  EXPECT_EQ(Ymd(d), 20260302);
}

TEST(LocaleDate, RefusesWhatIsNotARealDate) {
  host::HostPlatform hp;
  DateTime d{1, 2, 3, 0, 0, 0, 0};
  for (const char* text : {"", "31/02/2026", "29/02/2025", "0/1/2026", "1/13/2026", "oggi", "12/25/2026", "1/1/20266",
                           "1-gen-2026", "1/1/2026x", "1//2026", "5"})
    EXPECT_FALSE(ParseLocaleDate(text, &d)) << text;
  EXPECT_EQ(Ymd(d), 10203);  // untouched
}

TEST(LocaleDate, FollowsTheSystemsOrder) {
  host::HostPlatform hp;
  hp.System().shortDateFormat = "%m/%d/%Y";
  DateTime d;
  ASSERT_TRUE(ParseLocaleDate("12/25/2026", &d));
  EXPECT_EQ(Ymd(d), 20261225);
  hp.System().shortDateFormat = "%Y-%m-%d";
  ASSERT_TRUE(ParseLocaleDate("2026-12-25", &d));
  EXPECT_EQ(Ymd(d), 20261225);
  EXPECT_FALSE(ParseLocaleDate("25-12-2026", &d));
}

}  // namespace
}  // namespace tov
