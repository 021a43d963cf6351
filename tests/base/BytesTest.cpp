#include <gtest/gtest.h>

#include "base/Bytes.h"

namespace tov {
namespace {

TEST(Bytes, NumbersGoOutInEitherOrderAndComeBackChecked) {
  std::string b;
  PutLe(b, 0x0102, 2);
  PutBe(b, 0x0A0B0C0D, 4);
  PutLe(b, 0x1122334455667788ull, 8);
  ASSERT_EQ(b.size(), 14u);
  EXPECT_EQ(b.substr(0, 6), std::string("\x02\x01\x0A\x0B\x0C\x0D", 6));
  const ByteReader r(b);
  uint32_t v = 7;
  EXPECT_TRUE(r.Le16(0, &v));
  EXPECT_EQ(v, 0x0102u);
  EXPECT_TRUE(r.Be32(2, &v));
  EXPECT_EQ(v, 0x0A0B0C0Du);
  uint64_t w = 0;
  EXPECT_TRUE(r.Le(6, 8, &w));
  EXPECT_EQ(w, 0x1122334455667788ull);
  // A read past the end fails and leaves the result alone, also when the
  // offset itself is far out (no wrap-around).
  v = 7;
  EXPECT_FALSE(r.Le32(11, &v));
  EXPECT_FALSE(r.Le16(size_t(-1), &v));
  EXPECT_FALSE(r.Le(0, 9, &w));
  EXPECT_EQ(v, 7u);
  EXPECT_EQ(r.Le32Or0(12), 0u);
  // A window sees only its own bytes; one that does not fit is empty.
  EXPECT_EQ(r.Window(2, 4).Size(), 4u);
  EXPECT_FALSE(r.Window(2, 4).Le32(1, &v));
  EXPECT_EQ(r.Window(10, 5).Size(), 0u);
}

TEST(Bytes, SetLeWritesOnlyInsideWhatIsThere) {
  std::string b(4, '\0');
  EXPECT_TRUE(SetLe(b, 0, 0xAABBCCDD, 4));
  EXPECT_EQ(b, "\xDD\xCC\xBB\xAA");
  EXPECT_FALSE(SetLe(b, 2, 0x1234, 4));
  EXPECT_FALSE(SetLe(b, size_t(-1), 0x12, 2));
  EXPECT_EQ(b, "\xDD\xCC\xBB\xAA");
  std::vector<uint8_t> v(2);
  EXPECT_TRUE(SetLe(v, 0, 0xBEEF, 2));
  EXPECT_EQ(v, (std::vector<uint8_t>{0xEF, 0xBE}));
}

TEST(Bytes, DosDatesHaveOneRuleForWhatDoesNotFit) {
  const DosDateTime t = PackDosDateTime(2026, 12, 10, 14, 35, 27);
  EXPECT_EQ(t.date, ((2026 - 1980) << 9) | (12 << 5) | 10);
  EXPECT_EQ(t.time, (14 << 11) | (35 << 5) | 13);  // two-second steps
  // Before 1980: the first moment the format holds, time of day included.
  const DosDateTime early = PackDosDateTime(1975, 6, 15, 12, 30, 40);
  EXPECT_EQ(early.date, (0 << 9) | (1 << 5) | 1);
  EXPECT_EQ(early.time, 0);
  // After 2107: the last.
  const DosDateTime late = PackDosDateTime(2200, 1, 1, 0, 0, 0);
  EXPECT_EQ(late.date, (127 << 9) | (12 << 5) | 31);
  EXPECT_EQ(late.time, (23 << 11) | (59 << 5) | 29);
  // Fields out of their range go to the nearest end, never into a neighbour.
  const DosDateTime odd = PackDosDateTime(2000, 13, 0, 24, 60, 61);
  EXPECT_EQ(odd.date, ((2000 - 1980) << 9) | (12 << 5) | 1);
  EXPECT_EQ(odd.time, (23 << 11) | (59 << 5) | 29);
}

}  // namespace
}  // namespace tov
