// The scale: sizes in 96-DPI units to pixels and back.
#include <gtest/gtest.h>

#include "base/Dpi.h"

namespace tov {
namespace {

TEST(Dpi, ScalesRoundingHalvesAwayFromZero) {
  EXPECT_EQ(Dpi().Value(), 96);
  EXPECT_EQ(Dpi(144).Scale(21), 32);  // 31.5
  EXPECT_EQ(Dpi(144).Scale(-21), -32);
  EXPECT_EQ(Dpi(120).Scale(21), 26);  // 26.25
  EXPECT_EQ(Dpi(120).Scale(3), 4);    // 3.75
  EXPECT_EQ(Dpi(192).Scale(92), 184);
  EXPECT_EQ(Dpi(144).Unscale(32), 21);         // 21.33
  EXPECT_EQ(Dpi(144).From(29, Dpi(120)), 35);  // 34.8
  EXPECT_EQ(Dpi(120).Percent(), 125);
  EXPECT_EQ(Dpi(168).Percent(), 175);
}

TEST(Dpi, ASizeScaledUpComesBackUnchangedAtEveryScaleFrom96) {
  for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
    const Dpi d(dpi);
    for (int units = -300; units <= 3000; ++units)
      ASSERT_EQ(d.Unscale(d.Scale(units)), units) << dpi << " " << units;
  }
}

TEST(Dpi, AValueOutsideTheRangeIsReadAs96) {
  for (int bad : {0, -96, 47, 961, 65535}) {
    EXPECT_EQ(Dpi(bad).Value(), 96) << bad;
    EXPECT_FALSE(Dpi::Valid(bad));
  }
  EXPECT_EQ(Dpi(48).Value(), 48);
  EXPECT_EQ(Dpi(960).Value(), 960);
}

}  // namespace
}  // namespace tov
