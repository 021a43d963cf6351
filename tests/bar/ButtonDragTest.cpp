// Where a button dragged along the bar lands: every edge, lines of buttons,
// separators between them, bars laid out top to bottom; the threshold and
// the order a drop gives.
#include <gtest/gtest.h>

#include "bar/ButtonDrag.h"

namespace tov {
namespace {

// One line: three buttons 0..30, 30..60, a separator 60..66, a button 66..96.
const std::vector<Rect> kLine = {{0, 0, 30, 20}, {30, 0, 60, 20}, {60, 0, 66, 20}, {66, 0, 96, 20}};

size_t SlotAt(const std::vector<Rect>& positions, Point p, bool vertical = false) {
  const auto place = DropPlaceAt(positions, p, vertical);
  EXPECT_TRUE(place.has_value());
  return place ? place->slot : 999;
}

TEST(DropPlace, AlongOneLineEachHalfOfAPositionAndBothEnds) {
  EXPECT_EQ(SlotAt(kLine, {-50, 10}), 0u);  // before the bar's start
  EXPECT_EQ(SlotAt(kLine, {0, 10}), 0u);
  EXPECT_EQ(SlotAt(kLine, {14, 10}), 0u);
  EXPECT_EQ(SlotAt(kLine, {15, 10}), 1u);  // the second half of the first
  EXPECT_EQ(SlotAt(kLine, {44, 10}), 1u);
  EXPECT_EQ(SlotAt(kLine, {45, 10}), 2u);
  EXPECT_EQ(SlotAt(kLine, {62, 10}), 2u);  // before the separator
  EXPECT_EQ(SlotAt(kLine, {63, 10}), 3u);  // after it
  EXPECT_EQ(SlotAt(kLine, {95, 10}), 4u);
  EXPECT_EQ(SlotAt(kLine, {500, 10}), 4u);  // past the end
  // Above and below the line count as on it.
  EXPECT_EQ(SlotAt(kLine, {40, -30}), 1u);
  EXPECT_EQ(SlotAt(kLine, {50, 90}), 2u);
  EXPECT_FALSE(DropPlaceAt({}, {5, 5}, false).has_value());
}

TEST(DropPlace, TheMarkStandsOnTheEdgeTheButtonWouldLandOn) {
  auto place = DropPlaceAt(kLine, {40, 5}, false);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->mark, (Rect{29, 0, 31, 20}));
  place = DropPlaceAt(kLine, {90, 5}, false);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->mark, (Rect{95, 0, 97, 20}));
  place = DropPlaceAt({{0, 0, 20, 30}, {0, 30, 20, 60}}, {5, 50}, true);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->slot, 2u);
  EXPECT_EQ(place->mark, (Rect{0, 59, 20, 61}));
}

TEST(DropPlace, LinesOfButtonsAndABarDockedOnTheSide) {
  // Two lines: 0, 1 on the first; 2 (a separator stretched), 3 on the second.
  const std::vector<Rect> lines = {{0, 0, 30, 20}, {30, 0, 60, 20}, {0, 20, 60, 26}, {0, 26, 30, 46}};
  EXPECT_EQ(SlotAt(lines, {50, 10}), 2u);  // the end of the first line
  EXPECT_EQ(SlotAt(lines, {5, 22}), 2u);   // on the separator's line, before it
  EXPECT_EQ(SlotAt(lines, {5, 30}), 3u);
  EXPECT_EQ(SlotAt(lines, {29, 40}), 4u);
  EXPECT_EQ(SlotAt(lines, {200, 200}), 4u);  // below and past everything: the last line's end
  EXPECT_EQ(SlotAt(lines, {-9, -9}), 0u);
  // Top to bottom: the same rules with the axes swapped.
  const std::vector<Rect> column = {{0, 0, 24, 30}, {0, 30, 24, 36}, {0, 36, 24, 66}};
  EXPECT_EQ(SlotAt(column, {10, 10}, true), 0u);
  EXPECT_EQ(SlotAt(column, {10, 20}, true), 1u);
  EXPECT_EQ(SlotAt(column, {10, 34}, true), 2u);
  EXPECT_EQ(SlotAt(column, {300, 60}, true), 3u);
}

TEST(DropPlace, TheOrderADropGives) {
  EXPECT_EQ(DroppedOrder(2, 0), 0);   // the third to the first place
  EXPECT_EQ(DroppedOrder(0, 4), 3);   // the first after the last of four
  EXPECT_EQ(DroppedOrder(1, 1), -1);  // before itself
  EXPECT_EQ(DroppedOrder(1, 2), -1);  // before the next one
  EXPECT_EQ(DroppedOrder(1, 3), 2);
  EXPECT_EQ(DroppedOrder(-1, 3), -1);
}

TEST(ButtonDrag, StartsPastHalfTheThresholdEitherWayAndEndsOnce) {
  TButtonDrag d;
  EXPECT_FALSE(d.Move({50, 50}, {4, 4}));  // nothing pressed
  d.Press(2, {10, 10});
  EXPECT_TRUE(d.Pressed());
  EXPECT_FALSE(d.Move({12, 8}, {4, 4}));
  EXPECT_TRUE(d.Move({7, 10}, {4, 4}));
  EXPECT_TRUE(d.Move({10, 10}, {4, 4}));  // back within it: still dragging
  EXPECT_EQ(d.From(), 2);
  EXPECT_TRUE(d.End());
  EXPECT_FALSE(d.Pressed());
  EXPECT_FALSE(d.End());
  d.Press(0, {0, 0});
  EXPECT_FALSE(d.End());  // a click, not a drag
}

}  // namespace
}  // namespace tov
