// A button dragged along the headless bar: dropped in its new place and
// saved; Esc, a release off the bar and a move within the threshold leave
// the order as it was (the last one is a click).
#include <gtest/gtest.h>

#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const std::string kLinks = testing::kBarLinks;

struct BarDragTest : testing::BarFixture {
  BarDragTest() {
    StartOn({{"Uno", "Button"}, {"Due", "Button"}, {"", "Separator"}, {"Tre", "Button"}});
    hp.System().metrics[68] = 4;  // SM_CXDRAG
    hp.System().metrics[69] = 4;  // SM_CYDRAG
  }
  void Down(Point p) { Win().Send(WM_LBUTTONDOWN, 1, At(p)); }
  void MoveHeld(Point p) { Win().Send(WM_MOUSEMOVE, 1, At(p)); }
  void Up(Point p) { Win().Send(WM_LBUTTONUP, 0, At(p)); }
  using Captions = std::vector<std::string>;
};

TEST_F(BarDragTest, TheThirdButtonDroppedOnTheFirstPlace) {
  ASSERT_EQ(bar->PositionRects().size(), 4u);
  const Point from = Middle(Position(3)), to{Position(0).left + 3, Middle(Position(0)).y};
  Down(from);
  MoveHeld(Point{from.x - 10, from.y});
  EXPECT_TRUE(bar->Drag().Dragging());
  MoveHeld(to);
  Up(to);
  EXPECT_FALSE(bar->Drag().Dragging());
  EXPECT_EQ(Saved(), (Captions{"Tre", "Uno", "Due", "*Separator*"}));
  EXPECT_EQ(Hints()[0], "Tre");
  EXPECT_TRUE(hp.Shell().opened.empty());  // a drag is no click
  // The first after the separator: past the end of the bar.
  Down(Middle(Position(0)));
  MoveHeld(Point{Position(3).right + 40, Middle(Position(3)).y});
  Up(Point{Position(3).right + 40, Middle(Position(3)).y});
  EXPECT_EQ(Saved(), (Captions{"Uno", "Due", "*Separator*", "Tre"}));
}

TEST_F(BarDragTest, TheButtonLandsWhereItIsLetGoEvenWithNoMoveThere) {
  // The last move seen lies before the second button, the release on the
  // first: the release's point counts.
  const Point from = Middle(Position(3)), on{Position(0).left + 2, Middle(Position(0)).y};
  Down(from);
  MoveHeld(Point{from.x - 10, from.y});
  MoveHeld(Point{Position(1).left + 2, from.y});
  Up(on);
  EXPECT_EQ(Saved(), (Captions{"Tre", "Uno", "Due", "*Separator*"}));
}

TEST_F(BarDragTest, EscAReleaseOffTheBarAndASmallMoveMoveNothing) {
  const Captions start = Saved();
  const Point from = Middle(Position(0)), to = Middle(Position(3));
  Down(from);
  MoveHeld(to);
  Win().Send(WM_KEYDOWN, 0x1B, 0);  // Esc
  EXPECT_FALSE(bar->Drag().Dragging());
  Up(to);
  EXPECT_EQ(Saved(), start);
  // Released off the bar: the mouse comes back with the button up.
  Down(from);
  MoveHeld(to);
  Win().Send(WM_MOUSEMOVE, 0, At(to));
  EXPECT_FALSE(bar->Drag().Dragging());
  Up(to);
  EXPECT_EQ(Saved(), start);
  // Within the threshold it stays a click, which opens the button's target.
  Down(from);
  MoveHeld(Point{from.x + 1, from.y + 1});
  Up(Point{from.x + 1, from.y + 1});
  EXPECT_EQ(Saved(), start);
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], kLinks + "Uno.lnk");
}

}  // namespace
}  // namespace tov
