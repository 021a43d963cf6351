// The docking base on the headless shell: edges, the move and size loop,
// autohide, sliding, hit testing and the registry record.
#include <gtest/gtest.h>

#include <stdexcept>

#include "docking/AppBar.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"

namespace tov {
namespace {

class TestBar : public TAppBar {
 public:
  TestBar() { SetCaption("Tovira"); }
  std::vector<std::pair<bool, TAppBarEdge>> changes;
  bool controlHit = false;
  int screenChecks = 0;
  int sessionEndings = 0;
  using TAppBar::Dispatch;

 protected:
  void OnScreensChanged() override {
    ++screenChecks;
    TAppBar::OnScreensChanged();
  }
  void OnSessionEnding() override { ++sessionEndings; }
  void OnAppBarStateChange(bool proposed, TAppBarEdge edge) override {
    changes.emplace_back(proposed, edge);
    TAppBar::OnAppBarStateChange(proposed, edge);
  }
  bool ControlAtPoint(Point) override { return controlHit; }
};

struct AppBarTest : ::testing::Test {
  AppBarTest() { hp.System().tickStep = 50; }
  host::HostWindow& Win(TestBar& b) { return *hp.Windows().Find(b.Handle()); }
  intptr_t Send(TestBar& b, uint32_t msg, uintptr_t w = 0, intptr_t l = 0) { return Win(b).Send(msg, w, l); }
  static intptr_t PointParam(int x, int y) {
    return intptr_t(uint16_t(int16_t(x))) | (intptr_t(uint16_t(int16_t(y))) << 16);
  }
  // Drags the bar: the loop starts, the mouse moves to (x, y), the loop ends.
  void Drag(TestBar& b, int x, int y, Rect dragged) {
    Send(b, WM_ENTERSIZEMOVE);
    hp.System().cursor = Point{x, y};
    Send(b, WM_MOVING, 0, reinterpret_cast<intptr_t>(&dragged));
    Win(b).SetWindowPos(0, dragged, SWP_NOZORDER | SWP_NOACTIVATE);
    Send(b, WM_EXITSIZEMOVE);
  }
  // Creates the window and lets the start-up messages run.
  void Start(TestBar& b) {
    b.Window();
    hp.Windows().Pump();
  }
  host::HostPlatform hp;
};

TEST_F(AppBarTest, RecordLayoutIsExactAndFloatRectangleIsStoredLeftRightTopBottom) {
  TAppBarSettings s = DefaultAppBarSettings(1024, 768);
  s.FloatLeft = 11;
  s.FloatTop = 22;
  s.FloatRight = 333;
  s.FloatBottom = 444;
  s.ScreenIndex = 2;
  std::vector<uint8_t> b = PackAppBarSettings(s);
  ASSERT_EQ(b.size(), 88u);
  EXPECT_EQ(b[0], 88);
  EXPECT_EQ(b[4], abeFloat);
  EXPECT_EQ(b[5], 0x1F);
  EXPECT_EQ(b[6], 0);
  EXPECT_EQ(b[7], 1);
  EXPECT_EQ(b[8], 1);
  EXPECT_EQ(b[12] | b[13] << 8, 400);
  EXPECT_EQ(b[24], 32);
  EXPECT_EQ(b[32], 11);
  EXPECT_EQ(b[36] | b[37] << 8, 333);
  EXPECT_EQ(b[40], 22);
  EXPECT_EQ(b[44] | b[45] << 8, 444);
  EXPECT_EQ(b[56] | b[57] << 8, 1024);
  EXPECT_EQ(b[72] | b[73] << 8, 512);
  EXPECT_EQ(b[76] | b[77] << 8, 384);
  EXPECT_EQ(b[80], abtFloatDependent);
  EXPECT_EQ(b[84], 2);
  // Padding travels as it was loaded.
  b[9] = 0xAB;
  b[83] = 0xCD;
  EXPECT_EQ(PackAppBarSettings(UnpackAppBarSettings(b.data())), b);
}

TEST_F(AppBarTest, SettingsRoundTripThroughTheRegistryAndOddValuesAreRejected) {
  TestBar bar;
  bar.SetKeyName("Software\\Brenvoll\\Tovira_0");
  EXPECT_FALSE(bar.LoadSettings());  // no key
  bar.Settings().FloatLeft = 5;
  bar.Settings().FloatRight = 105;
  bar.Settings().FloatTop = 7;
  bar.Settings().FloatBottom = 77;
  bar.Settings().Edge = abeRight;
  ASSERT_TRUE(bar.SaveSettings());
  TestBar other;
  other.SetKeyName("Software\\Brenvoll\\Tovira_0");
  ASSERT_TRUE(other.LoadSettings());
  EXPECT_EQ(other.Settings().Edge, abeRight);
  EXPECT_EQ(other.Settings().FloatRight, 105);
  EXPECT_EQ(other.Settings().FloatBottom, 77);

  auto& reg = hp.Registry();
  reg.WriteRaw("Software\\Brenvoll\\Tovira_0", "", RegType::Binary, std::vector<uint8_t>(87, 1));
  TestBar shortValue;
  shortValue.SetKeyName("Software\\Brenvoll\\Tovira_0");
  EXPECT_FALSE(shortValue.LoadSettings());
  EXPECT_EQ(shortValue.Settings().SlideTime, 400);  // defaults kept
  reg.WriteRaw("Software\\Brenvoll\\Tovira_0", "", RegType::Binary, std::vector<uint8_t>(89, 1));
  try {
    shortValue.LoadSettings();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for ''");
  }
  reg.WriteRaw("Software\\Brenvoll\\Tovira_0", "", RegType::String, {'x'});
  EXPECT_THROW(shortValue.LoadSettings(), std::runtime_error);

  reg.DenyKey("Software\\Vietato");
  shortValue.SetKeyName("Software\\Vietato\\Tovira_0");
  EXPECT_FALSE(shortValue.SaveSettings());
}

TEST_F(AppBarTest, DamagedRecordIsRepairedOnLoad) {
  TAppBarSettings s = DefaultAppBarSettings(1024, 768);
  s.Edge = 9;
  s.TaskEntry = 7;
  s.Flags = 0xFF;
  s.ScreenIndex = -3;
  s.FloatLeft = 500;
  s.FloatRight = 100;
  s.FloatTop = 50;
  s.FloatBottom = 40;
  s.SlideTime = -1;
  s.AutoHide = 7;
  hp.Registry().CreateKey("Software\\B");
  hp.Registry().WriteBinary("Software\\B", "", PackAppBarSettings(s));
  TestBar bar;
  bar.SetKeyName("Software\\B");
  ASSERT_TRUE(bar.LoadSettings());
  const TAppBarSettings& r = bar.Settings();
  EXPECT_EQ(r.Edge, abeTop);
  EXPECT_EQ(r.TaskEntry, abtFloatDependent);
  EXPECT_EQ(r.Flags, 0x1F);
  EXPECT_EQ(r.ScreenIndex, 0);
  EXPECT_EQ(r.FloatLeft, 100);
  EXPECT_EQ(r.FloatRight, 500);
  EXPECT_EQ(r.FloatTop, 40);
  EXPECT_EQ(r.FloatBottom, 50);
  EXPECT_EQ(r.SlideTime, 400);
  EXPECT_EQ(r.AutoHide, 1);
  // A sound record is left exactly as it is.
  TAppBarSettings sound = DefaultAppBarSettings(1024, 768);
  EXPECT_FALSE(RepairAppBarSettings(sound, kScreenTableSize));
  // The bar then docks on screen, hidden at the top as an autohide bar.
  Start(bar);
  bar.UpdateBar();
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{0, 2 - 32, 1024, 2}));
}

TEST_F(AppBarTest, EdgeFromPointFollowsTheDiagonalsFlagsAndWorkArea) {
  TestBar bar;
  const TAppBarFlags all = kAllAppBarFlags;
  // Centre (512, 384); the diagonal point (0, 0): |dy|*1024 = |dx|*768.
  EXPECT_EQ(bar.GetEdgeFromPoint(all & ~FlagBit(abfAllowFloat), Point{0, 0}), abeLeft);
  EXPECT_EQ(bar.GetEdgeFromPoint(all, Point{1023, 767}), abeRight);
  EXPECT_EQ(bar.GetEdgeFromPoint(all, Point{512, 2}), abeTop);
  EXPECT_EQ(bar.GetEdgeFromPoint(all, Point{512, 737}), abeBottom);
  // Inside the work area shrunk by the scroll-bar thickness: floating.
  EXPECT_EQ(bar.GetEdgeFromPoint(all, Point{17, 17}), abeFloat);
  EXPECT_EQ(bar.GetEdgeFromPoint(all, Point{16, 300}), abeLeft);
  // No top edge allowed: floating if allowed, else the current edge.
  const TAppBarFlags noTop = all & ~FlagBit(abfAllowTop);
  EXPECT_EQ(bar.GetEdgeFromPoint(noTop, Point{512, 2}), abeFloat);
  bar.Settings().Edge = abeRight;
  EXPECT_EQ(bar.GetEdgeFromPoint(noTop & ~FlagBit(abfAllowFloat), Point{512, 2}), abeRight);
  // Only floating allowed.
  EXPECT_EQ(bar.GetEdgeFromPoint(FlagBit(abfAllowFloat), Point{0, 300}), abeFloat);
  // Ctrl held proposes floating anywhere.
  hp.System().keysDown.insert(VK_CONTROL);
  EXPECT_EQ(bar.CalcProposedState(Point{0, 300}), abeFloat);
  bar.SetFlags(noTop & ~FlagBit(abfAllowFloat));
  EXPECT_EQ(bar.CalcProposedState(Point{0, 300}), abeLeft);
}

TEST_F(AppBarTest, OffsetsWrapAtSixteenBits) {
  TestBar bar;
  // A point 40000 pixels to the right wraps to a negative offset.
  EXPECT_EQ(bar.GetEdgeFromPoint(0x0F, Point{512 + 40000, 384}), abeLeft);
  EXPECT_EQ(bar.GetEdgeFromPoint(0x0F, Point{512 + 30000, 384}), abeRight);
}

TEST_F(AppBarTest, DockingReservesTheStripAndOtherBarsAreLaidOutBeside) {
  TestBar first, second;
  Start(first);
  first.SetEdge(abeTop);
  EXPECT_EQ(Win(first).WindowRect(), (Rect{0, 0, 1024, 32}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 32, 1024, 738}));
  EXPECT_EQ(Win(first).zOrder, HWND_TOPMOST);
  EXPECT_FALSE(Win(first).taskbarEntry);  // docked, float-dependent
  Start(second);
  second.SetEdge(abeTop);
  EXPECT_EQ(Win(second).WindowRect(), (Rect{0, 32, 1024, 64}));
  second.Settings().HorzDockSize = 40;
  second.SetEdge(abeLeft);
  EXPECT_EQ(Win(second).WindowRect(), (Rect{0, 32, 40, 738}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{40, 32, 1024, 738}));
  // The first bar hears of it and re-applies its place.
  first.changes.clear();
  hp.Windows().Pump();
  EXPECT_FALSE(first.changes.empty());
  // Floating gives the space back and shows the task-bar entry and caption.
  second.Settings().FloatLeft = 100;
  second.Settings().FloatTop = 100;
  second.Settings().FloatRight = 300;
  second.Settings().FloatBottom = 200;
  second.SetEdge(abeFloat);
  EXPECT_EQ(Win(second).WindowRect(), (Rect{100, 100, 300, 200}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 32, 1024, 738}));
  EXPECT_TRUE(Win(second).taskbarEntry);
  EXPECT_EQ(Win(second).Style() & WS_CAPTION, uint32_t(WS_CAPTION));
  second.SetEdge(abeBottom);
  EXPECT_EQ(Win(second).Style() & WS_CAPTION, 0u);
  // Unregistering takes the bar out of the shell.
  second.SetEdge(abeUnknown);
  EXPECT_EQ(hp.Shell().Bars().count(second.Handle()), 0u);
}

TEST_F(AppBarTest, CreationRegistersDeletesMenuCommandsAndRecordsItsPlace) {
  TestBar bar;
  bar.SetBounds(50, 60, 200, 100);
  bar.Settings().FloatRight = 250;
  bar.Settings().FloatBottom = 160;
  Start(bar);
  EXPECT_EQ(hp.Shell().Bars().count(bar.Handle()), 1u);
  EXPECT_EQ(bar.Settings().FloatLeft, 50);
  EXPECT_EQ(bar.Settings().FloatTop, 60);
  EXPECT_FALSE(Win(bar).systemMenu.count(SC_RESTORE));
  EXPECT_FALSE(Win(bar).systemMenu.count(SC_MAXIMIZE));
  EXPECT_TRUE(Win(bar).systemMenu.count(SC_MOVE));
  EXPECT_EQ(Win(bar).ExStyle() & WS_EX_TOOLWINDOW, uint32_t(WS_EX_TOOLWINDOW));
  EXPECT_EQ(Win(bar).ExStyle() & WS_EX_APPWINDOW, 0u);
  // The posted enter/exit pair recorded the floating rectangle.
  EXPECT_EQ(bar.Settings().FloatRight, 250);
  EXPECT_EQ(bar.ProposedEdge(), abeUnknown);
  EXPECT_EQ(Win(bar).timers.count(kAutoHideTimerId), 1u);
  bar.DestroyHandle();
  EXPECT_TRUE(hp.Shell().Bars().empty());
}

TEST_F(AppBarTest, DraggingSnapsLiveAndCommitsOnRelease) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeTop);
  Send(bar, WM_ENTERSIZEMOVE);
  EXPECT_EQ(bar.ProposedEdge(), abeTop);
  hp.System().cursor = Point{3, 400};
  Rect dragged{0, 380, 1024, 412};
  Send(bar, WM_MOVING, 0, reinterpret_cast<intptr_t>(&dragged));
  EXPECT_EQ(bar.ProposedEdge(), abeLeft);
  EXPECT_EQ(bar.GetEdge(), abeLeft);
  EXPECT_EQ(bar.Settings().Edge, abeTop);
  EXPECT_EQ(dragged, (Rect{0, 0, 32, 738}));
  EXPECT_EQ(bar.changes.back(), std::make_pair(true, abeLeft));
  Win(bar).SetWindowPos(0, dragged, SWP_NOZORDER);
  Send(bar, WM_EXITSIZEMOVE);
  EXPECT_EQ(bar.Settings().Edge, abeLeft);
  EXPECT_EQ(bar.ProposedEdge(), abeUnknown);
  EXPECT_EQ(bar.changes.back(), std::make_pair(false, abeLeft));
  EXPECT_EQ(bar.Settings().HorzDockSize, 32);
  EXPECT_EQ(bar.Settings().VertDockSize, 32);
  // A full-width top bar dragged into the middle floats with its previous
  // floating size, since the dragged width equals the monitor's.
  bar.SetEdge(abeTop);
  bar.Settings().FloatRight = bar.Settings().FloatLeft + 150;
  bar.Settings().FloatBottom = bar.Settings().FloatTop + 90;
  Drag(bar, 500, 400, Rect{0, 380, 1024, 412});
  EXPECT_EQ(bar.Settings().Edge, abeFloat);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{0, 380, 150, 470}));
  // A floating bar dragged about keeps the rectangle it was given.
  Drag(bar, 400, 300, Rect{200, 250, 350, 340});
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{200, 250, 350, 340}));
  EXPECT_EQ(bar.Settings().FloatRight, 350);
}

TEST_F(AppBarTest, ResizingADockedBarKeepsItsThicknessAndSnapsToIncrements) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeLeft);
  bar.Settings().HorzSizeInc = 10;
  Rect r{0, 0, 34, 738};
  Send(bar, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.right, 30);
  r = Rect{0, 0, 35, 738};
  Send(bar, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.right, 40);
  r = Rect{100, 100, 135, 150};
  Send(bar, WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r, (Rect{95, 100, 135, 150}));
  bar.Settings().MinHorzDockSize = 3;
  r = Rect{0, 0, 34, 738};  // 3 + round((34 - 3) / 10) * 10
  Send(bar, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.right, 33);
  r = Rect{0, 0, 34, 738};
  Send(bar, WM_SIZING, 99, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.right, 34);
  // A resize within the loop keeps the new thickness; another edge keeps it too.
  Send(bar, WM_ENTERSIZEMOVE);
  Win(bar).SetWindowPos(0, Rect{0, 0, 60, 738}, SWP_NOZORDER);
  Send(bar, WM_EXITSIZEMOVE);
  EXPECT_EQ(bar.Settings().HorzDockSize, 60);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{0, 0, 60, 738}));
  bar.SetEdge(abeRight);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{964, 0, 1024, 738}));
  EXPECT_EQ(bar.Settings().HorzDockSize, 60);
  MinMaxInfo mmi{};
  Send(bar, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&mmi));
  EXPECT_EQ(mmi.maxTrackSize.x, 512);
  EXPECT_EQ(mmi.maxTrackSize.y, 768);
  EXPECT_EQ(mmi.minTrackSize.x, 3);
}

TEST_F(AppBarTest, OneAutohideBarPerEdgeAndTheSecondIsDockedWithAMessage) {
  TestBar first, second;
  Start(first);
  Start(second);
  first.SetAutoHide(true);
  first.SetEdge(abeLeft);
  EXPECT_EQ(first.GetAutohideEdge(), abeLeft);
  // Hidden: a strip of two border widths stays on the screen; nothing reserved.
  EXPECT_EQ(Win(first).WindowRect(), (Rect{2 - 32, 0, 2, 768}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 0, 1024, 738}));
  second.SetAutoHide(true);
  second.SetEdge(abeLeft);
  EXPECT_FALSE(second.AutoHide());
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text,
            "There is already an auto hidden window on this edge.\n\rOnly one auto hidden window is allowed on each "
            "edge.");
  EXPECT_EQ(hp.Dialogs().shown[0].style, uint32_t(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(Win(second).WindowRect(), (Rect{0, 0, 32, 738}));
  // Leaving the edge releases the slot.
  first.SetEdge(abeTop);
  EXPECT_EQ(first.GetAutohideEdge(), abeTop);
  EXPECT_EQ(hp.Shell().AutoHideBar(abeLeft), 0u);
}

TEST_F(AppBarTest, AutohideSlidesInOnTheStripAndOutWhenTheMouseLeaves) {
  TestBar bar;
  Start(bar);
  bar.SetAutoHide(true);
  bar.SetEdge(abeRight);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{1022, 0, 1054, 768}));
  // 400 ms read every 50 ms: steps at t = 0, 50, ... 350, each placed with a
  // frame refresh and painted at once, then the target.
  auto slide = [&](auto&& start) {
    Win(bar).history.clear();
    const int frames = Win(bar).frameChanges, paints = Win(bar).updates;
    start();
    EXPECT_EQ(Win(bar).frameChanges - frames, 8);
    EXPECT_EQ(Win(bar).updates - paints, 8);
    std::vector<int> lefts;
    for (const Rect& r : Win(bar).history)
      lefts.push_back(r.left);
    return lefts;
  };
  // Sliding out: t = 0 places the bar where it is (no move), then 30 pixels
  // in eighths, truncated, then the target.
  std::vector<int> out = slide([&] { Send(bar, WM_NCMOUSEMOVE); });
  EXPECT_TRUE(bar.AutoHideIsVisible());
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{992, 0, 1024, 768}));
  EXPECT_EQ(out, (std::vector<int>{1019, 1015, 1011, 1007, 1004, 1000, 996, 992}));
  // The timer hides it again once the cursor is away and the bar inactive.
  hp.System().cursor = Point{992 - 8, 300};  // within two double-click widths
  hp.Windows().AdvanceTime(400);
  EXPECT_TRUE(bar.AutoHideIsVisible());
  hp.System().cursor = Point{500, 300};
  std::vector<int> in = slide([&] { hp.Windows().AdvanceTime(400); });
  EXPECT_FALSE(bar.AutoHideIsVisible());
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{1022, 0, 1054, 768}));
  EXPECT_EQ(in, (std::vector<int>{995, 999, 1003, 1007, 1010, 1014, 1018, 1022}));
  // Without the slide effect the bar jumps.
  bar.SetSlideEffect(false);
  Win(bar).history.clear();
  Send(bar, WM_NCMOUSEMOVE);
  EXPECT_EQ(Win(bar).history.size(), 1u);
  bar.SetSlideEffect(true);
  bar.SetSlideTime(0);
  Win(bar).history.clear();
  Send(bar, WM_ACTIVATE, WA_INACTIVE);
  EXPECT_EQ(Win(bar).history.size(), 1u);
  EXPECT_FALSE(bar.AutoHideIsVisible());
}

TEST_F(AppBarTest, HitTestingMovesOnTheBackgroundAndSizesOnlyTheInnerBorder) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeTop);
  Win(bar).SetLong(GWL_STYLE, int32_t(Win(bar).Style() | WS_THICKFRAME));
  // Client area (4, 4, 1020, 28) on screen.
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 10)), HTCLIENT);
  hp.System().keysDown.insert(VK_LBUTTON);
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 10)), HTCAPTION);
  bar.controlHit = true;
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 10)), HTCLIENT);
  hp.System().metrics[SM_SWAPBUTTON] = 1;  // the primary button is now the right one
  bar.controlHit = false;
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 10)), HTCLIENT);
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 30)), HTBOTTOM);
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 1)), HTBORDER);
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(1, 10)), HTBORDER);
  bar.Settings().VertSizeInc = 0;
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(100, 30)), HTBORDER);
  // Floating: directions without an increment do not size.
  bar.Settings().FloatLeft = 100;
  bar.Settings().FloatTop = 100;
  bar.Settings().FloatRight = 300;
  bar.Settings().FloatBottom = 300;
  bar.SetEdge(abeFloat);
  Win(bar).SetLong(GWL_STYLE, int32_t(Win(bar).Style() | WS_THICKFRAME));
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(101, 298)), HTLEFT);    // bottom-left corner
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(200, 299)), HTBORDER);  // bottom
  bar.Settings().HorzSizeInc = 0;
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(101, 298)), HTBORDER);
  bar.Settings().VertSizeInc = 1;
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(101, 298)), HTBOTTOM);
  EXPECT_EQ(Send(bar, WM_NCHITTEST, 0, PointParam(101, 200)), HTBORDER);
}

TEST_F(AppBarTest, FullScreenApplicationsSendAnAlwaysOnTopBarToTheBottom) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeBottom);
  EXPECT_EQ(Win(bar).zOrder, HWND_TOPMOST);
  hp.Shell().NotifyFullScreen(true);
  hp.Windows().Pump();
  EXPECT_TRUE(bar.FullScreenAppOpen());
  EXPECT_EQ(Win(bar).zOrder, HWND_BOTTOM);
  hp.Shell().NotifyFullScreen(false);
  hp.Windows().Pump();
  EXPECT_EQ(Win(bar).zOrder, HWND_TOPMOST);
  bar.SetAlwaysOnTop(false);
  bar.UpdateBar();
  EXPECT_EQ(Win(bar).zOrder, HWND_NOTOPMOST);
  bar.SetTaskEntry(abtShow);
  bar.UpdateBar();
  EXPECT_TRUE(Win(bar).taskbarEntry);
}

TEST_F(AppBarTest, ScreenTableAnswersThePrimaryBeyondItsEntries) {
  hp.SetMonitors(
      {{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "A"}, {{1024, 0, 2048, 600}, {1024, 0, 2048, 600}, false, "B"}});
  TestBar bar;
  TScreenInfo second;
  bar.InitScreenCoord(second.rcMonitor, second.szMonitor, 1024, 0, 2048, 600);
  bar.InitScreenCoord(second.rcWork, second.szWork, 1024, 0, 2048, 600);
  second.MonitorFlags = 0;
  bar.RefreshScreens({bar.Screen(0), second});
  EXPECT_EQ(bar.ScreenCount(), 2);
  EXPECT_EQ(bar.GetScreenInfo(1).rcMonitor, (Rect{1024, 0, 2048, 600}));
  EXPECT_EQ(bar.GetScreenInfo(5).rcMonitor, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(bar.GetScreenInfo(0).rcWork, (Rect{0, 0, 1024, 738}));
  // Docking on the second monitor.
  Start(bar);
  bar.SetScreenIndex(1);
  bar.SetEdge(abeTop);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{1024, 0, 2048, 32}));
  EXPECT_EQ(hp.Shell().WorkArea(1), (Rect{1024, 32, 2048, 600}));
  EXPECT_EQ(bar.GetEdgeFromPoint(kAllAppBarFlags, Point{2040, 300}), abeRight);
}

// Two monitors side by side, the first primary with a task bar; a bar's
// screen table filled with both, as the bar window fills it.
const std::vector<host::MonitorSpec> kTwoMonitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "A"},
                                                     {{1024, 0, 2048, 600}, {1024, 0, 2048, 600}, false, "B"}};
void FillTwoScreens(TestBar& bar) {
  TScreenInfo primary = bar.Screen(0);
  primary.MonitorFlags = 1;
  TScreenInfo second;
  bar.InitScreenCoord(second.rcMonitor, second.szMonitor, 1024, 0, 2048, 600);
  bar.InitScreenCoord(second.rcWork, second.szWork, 1024, 0, 2048, 600);
  second.MonitorFlags = 0;
  bar.RefreshScreens({primary, second});
}

TEST_F(AppBarTest, AfterTheShellRestartsTheBarRegistersAndReservesItsStripAgain) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeTop);
  const Rect before = Win(bar).WindowRect();
  ASSERT_NE(bar.TaskbarCreatedMessage(), 0u);
  hp.RestartShell();
  EXPECT_TRUE(hp.Shell().Bars().empty());
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 0, 1024, 738}));  // windows may cover the bar now
  hp.Windows().Pump();
  ASSERT_EQ(hp.Shell().Bars().count(bar.Handle()), 1u);
  EXPECT_TRUE(hp.Shell().Bars().at(bar.Handle()).reserved);
  EXPECT_EQ(Win(bar).WindowRect(), before);
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 32, 1024, 738}));
  EXPECT_EQ(Win(bar).zOrder, HWND_TOPMOST);
}

TEST_F(AppBarTest, TheTaskBarIsAskedOnlyForAnEntryThatChanges) {
  TestBar bar;
  bar.Settings().Edge = abeTop;
  Start(bar);
  // Made as a tool window, a docked bar has no entry: nothing is asked.
  bar.UpdateBar();
  EXPECT_FALSE(Win(bar).taskbarEntry);
  EXPECT_EQ(Win(bar).taskbarAsks, 0);
  // Floating adds it, docking again takes it away.
  bar.Settings().FloatLeft = 100;
  bar.Settings().FloatTop = 100;
  bar.Settings().FloatRight = 300;
  bar.Settings().FloatBottom = 200;
  bar.SetEdge(abeFloat);
  EXPECT_TRUE(Win(bar).taskbarEntry);
  bar.SetEdge(abeLeft);
  EXPECT_FALSE(Win(bar).taskbarEntry);
  const int asks = Win(bar).taskbarAsks;
  bar.UpdateBar();
  EXPECT_EQ(Win(bar).taskbarAsks, asks);
  // A floating bar's entry comes back after the shell restarts.
  bar.SetEdge(abeFloat);
  hp.RestartShell();
  EXPECT_FALSE(Win(bar).taskbarEntry);
  hp.Windows().Pump();
  EXPECT_TRUE(Win(bar).taskbarEntry);
}

TEST_F(AppBarTest, AfterTheShellRestartsEveryBarComesBackOnItsEdgeInItsOrder) {
  // The inner of two top bars hears of the restart first: it must not take
  // the outer one's place. Beside them an autohide bar on the left, a bar at
  // the bottom and a floating one.
  TestBar inner, outer, left, bottom, floating;
  for (TestBar* b : {&inner, &outer, &left, &bottom, &floating})
    Start(*b);
  outer.SetEdge(abeTop);
  inner.SetEdge(abeTop);
  left.SetAutoHide(true);
  left.SetEdge(abeLeft);
  bottom.SetEdge(abeBottom);
  floating.Settings().FloatLeft = 300;
  floating.Settings().FloatTop = 300;
  floating.Settings().FloatRight = 500;
  floating.Settings().FloatBottom = 400;
  floating.SetEdge(abeFloat);
  hp.Windows().Pump();  // the bars hear of each other and settle
  std::vector<Rect> places;
  for (TestBar* b : {&inner, &outer, &left, &bottom, &floating})
    places.push_back(Win(*b).WindowRect());
  EXPECT_EQ(places[0], (Rect{0, 32, 1024, 64}));
  const Rect work = hp.Shell().PrimaryWorkArea();
  EXPECT_EQ(work, (Rect{0, 64, 1024, 706}));

  const size_t moves = Win(inner).history.size();
  hp.RestartShell();
  hp.Windows().Pump();
  // The inner bar hears first and waits until the outer one is back; it
  // never takes the outer one's place.
  for (size_t i = moves; i < Win(inner).history.size(); ++i)
    EXPECT_NE(Win(inner).history[i], places[1]);
  hp.Windows().AdvanceTime(kShellReturnStep);
  std::vector<Rect> after;
  for (TestBar* b : {&inner, &outer, &left, &bottom, &floating})
    after.push_back(Win(*b).WindowRect());
  EXPECT_EQ(after, places);
  EXPECT_EQ(hp.Shell().Bars().size(), 5u);
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), work);
  // The autohide bar holds its edge's slot again and is still hidden.
  EXPECT_TRUE(left.AutoHide());
  EXPECT_EQ(hp.Shell().AutoHideBar(abeLeft), left.Handle());
  EXPECT_EQ(floating.GetEdge(), abeFloat);
  EXPECT_FALSE(hp.Shell().Bars().at(floating.Handle()).reserved);

  // A bar whose place never comes back (the bar outside it is gone) takes
  // what the shell offers after a while.
  hp.RestartShell();
  outer.DestroyHandle();
  hp.Windows().Pump();
  EXPECT_EQ(Win(inner).WindowRect(), places[0]);
  hp.Windows().AdvanceTime(kShellReturnStep * kShellReturnSteps);
  EXPECT_EQ(Win(inner).WindowRect(), (Rect{0, 0, 1024, 32}));
  EXPECT_TRUE(hp.Shell().Bars().at(inner.Handle()).reserved);
}

TEST_F(AppBarTest, ABurstOfDesktopNoticesGivesOneCheckOnceItEnds) {
  TestBar bar;
  Start(bar);
  bar.SetEdge(abeTop);
  const std::vector<std::pair<uint32_t, uintptr_t>> notices = {{WM_DISPLAYCHANGE, 32},
                                                               {WM_SETTINGCHANGE, SPI_SETWORKAREA},
                                                               {WM_DEVICECHANGE, DBT_DEVNODES_CHANGED},
                                                               {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                                                               {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND},
                                                               {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
                                                               {WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT},
                                                               {WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT},
                                                               {WM_DISPLAYCHANGE, 32},
                                                               {WM_SETTINGCHANGE, SPI_SETWORKAREA}};
  ASSERT_EQ(notices.size(), 10u);
  for (const auto& [msg, w] : notices) {
    Send(bar, msg, w);
    hp.Windows().AdvanceTime(kScreenCheckDelay / 2);
  }
  EXPECT_EQ(bar.screenChecks, 0);
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(bar.screenChecks, 1);
  hp.Windows().AdvanceTime(kScreenCheckDelay * 3);
  EXPECT_EQ(bar.screenChecks, 1);
  // A new work area alone, while the bar keeps its place (another bar
  // reserved a strip elsewhere), checks nothing; once the place moved, it does.
  Send(bar, WM_SETTINGCHANGE, SPI_SETWORKAREA);
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(bar.screenChecks, 1);
  Win(bar).SetWindowPos(0, Rect{0, 0, 500, 32}, SWP_NOZORDER);
  Send(bar, WM_SETTINGCHANGE, SPI_SETWORKAREA);
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(bar.screenChecks, 2);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{0, 0, 1024, 32}));
  // Notices of other changes, and a suspend, check nothing.
  Send(bar, WM_SETTINGCHANGE, 0x0014);   // the wallpaper
  Send(bar, WM_POWERBROADCAST, 0x0004);  // going to sleep
  Send(bar, WM_WTSSESSION_CHANGE, 0x7);  // locked
  hp.Windows().AdvanceTime(kScreenCheckDelay * 2);
  EXPECT_EQ(bar.screenChecks, 2);
  // While the user drags the bar, the check waits for the release.
  Send(bar, WM_ENTERSIZEMOVE);
  Send(bar, WM_DISPLAYCHANGE, 32);
  hp.Windows().AdvanceTime(kScreenCheckDelay * 2);
  EXPECT_EQ(bar.screenChecks, 2);
  Send(bar, WM_EXITSIZEMOVE);
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(bar.screenChecks, 3);
}

TEST_F(AppBarTest, ANewResolutionDocksTheBarsToTheNewRectangles) {
  TestBar top, bottom;
  Start(top);
  Start(bottom);
  top.SetEdge(abeTop);
  bottom.SetEdge(abeBottom);
  EXPECT_EQ(Win(bottom).WindowRect(), (Rect{0, 706, 1024, 738}));
  hp.ChangeDisplays({{{0, 0, 1600, 900}, {0, 0, 1600, 860}, true, "\\\\.\\DISPLAY1"}});
  hp.Windows().Pump();
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(Win(top).WindowRect(), (Rect{0, 0, 1600, 32}));
  EXPECT_EQ(Win(bottom).WindowRect(), (Rect{0, 828, 1600, 860}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 32, 1600, 828}));
}

TEST_F(AppBarTest, AFloatingBarOffEveryScreenIsBroughtOntoTheNearest) {
  hp.SetMonitors(kTwoMonitors);
  TestBar bar;
  FillTwoScreens(bar);
  Start(bar);
  Rect r{1500, 500, 1700, 580};  // on the second monitor
  EXPECT_FALSE(bar.BringOntoScreen(r));
  r = Rect{2100, 700, 2300, 780};  // right of and below the second monitor
  EXPECT_TRUE(bar.BringOntoScreen(r));
  EXPECT_EQ(r, (Rect{1848, 520, 2048, 600}));
  r = Rect{-900, 800, -100, 1000};  // left of and below the primary: its work area
  EXPECT_TRUE(bar.BringOntoScreen(r));
  EXPECT_EQ(r, (Rect{0, 538, 800, 738}));
  r = Rect{5000, 0, 7000, 2000};  // larger than the screen: cut to it
  EXPECT_TRUE(bar.BringOntoScreen(r));
  EXPECT_EQ(r, (Rect{1024, 0, 2048, 600}));

  // The second monitor goes: the bar on it comes onto the primary at the check.
  bar.Settings().FloatLeft = 1500;
  bar.Settings().FloatTop = 300;
  bar.Settings().FloatRight = 1700;
  bar.Settings().FloatBottom = 350;
  bar.SetEdge(abeFloat);
  bar.RefreshScreens({bar.Screen(0)});
  hp.ChangeDisplays({kTwoMonitors[0]});
  hp.Windows().Pump();
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(Win(bar).WindowRect(), (Rect{824, 300, 1024, 350}));
  EXPECT_EQ(bar.Settings().FloatLeft, 824);
}

TEST_F(AppBarTest, AFullScreenWindowLowersOnlyTheBarOnItsMonitor) {
  hp.SetMonitors(kTwoMonitors);
  TestBar first, second;
  FillTwoScreens(first);
  FillTwoScreens(second);
  Start(first);
  Start(second);
  first.SetEdge(abeTop);
  second.SetScreenIndex(1);
  second.SetEdge(abeTop);
  hp.Shell().NotifyFullScreen(true, 1);
  hp.Windows().Pump();
  EXPECT_EQ(Win(first).zOrder, HWND_TOPMOST);
  EXPECT_EQ(Win(second).zOrder, HWND_BOTTOM);
  hp.Shell().NotifyFullScreen(false, 1);
  hp.Windows().Pump();
  EXPECT_EQ(Win(second).zOrder, HWND_TOPMOST);
  hp.Shell().NotifyFullScreen(true, 0);
  hp.Windows().Pump();
  EXPECT_EQ(Win(first).zOrder, HWND_BOTTOM);
  EXPECT_EQ(Win(second).zOrder, HWND_TOPMOST);
}

TEST_F(AppBarTest, TheEndOfTheSessionWritesTheRecordAndLeavesTheShellWithoutAsking) {
  TestBar bar;
  bar.SetKeyName("Software\\Brenvoll\\Tovira_0");
  Start(bar);
  bar.SetAutoHide(true);
  bar.SetEdge(abeRight);
  EXPECT_EQ(Send(bar, WM_QUERYENDSESSION), 1);
  // A session end that was called off changes nothing.
  Send(bar, WM_ENDSESSION, 0);
  EXPECT_FALSE(bar.SessionEnded());
  EXPECT_FALSE(Registry().KeyExists(bar.KeyName()));
  Send(bar, WM_ENDSESSION, 1);
  EXPECT_TRUE(bar.SessionEnded());
  EXPECT_EQ(bar.sessionEndings, 1);
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  RegValue v;
  ASSERT_TRUE(Registry().ReadValue(bar.KeyName(), "", &v));
  EXPECT_EQ(UnpackAppBarSettings(v.data.data()).Edge, abeRight);
  EXPECT_EQ(UnpackAppBarSettings(v.data.data()).AutoHide, 1);
  EXPECT_EQ(hp.Shell().Bars().count(bar.Handle()), 0u);
  EXPECT_EQ(hp.Shell().AutoHideBar(abeRight), 0u);
  // Nothing moves the bar any more.
  Send(bar, WM_DISPLAYCHANGE, 32);
  hp.Windows().AdvanceTime(kScreenCheckDelay * 2);
  EXPECT_EQ(bar.screenChecks, 0);
}

}  // namespace
}  // namespace tov
