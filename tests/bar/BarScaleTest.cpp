// The bar at the scales of today's screens: its layout and docking at
// 100, 125, 150 and 200 % on every edge and floating, the sizes its files keep
// in 96-DPI units, and the bar following WM_DPICHANGED and a monitor of
// another scale.
#include <gtest/gtest.h>

#include "controls/ButtonTable.h"
#include "docking/AppBarSettings.h"
#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

host::MonitorSpec Monitor(int dpi, int left = 0, const char* name = "\\\\.\\DISPLAY1", bool primary = true) {
  return host::MonitorSpec{{left, 0, left + 2560, 1600}, {left, 0, left + 2560, 1560}, primary, name, dpi};
}

struct BarScaleTest : testing::BarFixture {
  BarScaleTest() {
    Start();  // the first start makes the links folder
    Stop();
  }
  // Buttons 92 x 21 (96-DPI units), a separator after the second.
  void StartAt(int dpi, int buttons) {
    hp.SetMonitors({Monitor(dpi)});
    Rows rows;
    for (int i = 0; i < buttons; ++i) {
      rows.push_back({"B" + std::to_string(i), "Button"});
      if (i == 1) rows.push_back({"", "Separator"});
    }
    PrepareButtons(rows);
    Start();
  }
  Rect At(size_t i) { return bar->Button(i).BoundsRect(); }
  std::vector<int> Heights() {
    std::vector<int> out;
    for (size_t i = 0; i < bar->ButtonCount(); ++i)
      out.push_back(At(i).Height());
    return out;
  }
  TAppBarSettings StoredRecord() {
    RegValue v;
    EXPECT_TRUE(Registry().ReadValue(bar->KeyName(), "", &v));
    EXPECT_EQ(v.data.size(), size_t(kAppBarSettingsSize));
    return UnpackAppBarSettings(v.data.data());
  }
};

TEST_F(BarScaleTest, EveryEdgeAndTheFloatingBarAreLaidOutAtTheMonitorsScale) {
  for (int dpi : {96, 120, 144, 192}) {
    for (TAppBarEdge edge : {abeTop, abeBottom, abeLeft, abeRight, abeFloat}) {
      SCOPED_TRACE("dpi " + std::to_string(dpi) + " edge " + std::to_string(int(edge)));
      StartAt(dpi, 4);
      bar->SetEdge(edge);
      hp.Windows().Pump();
      const Dpi d(dpi);
      ASSERT_EQ(bar->BarDpi(), d);
      const int m = d.Scale(1), f = d.Scale(3), sepRoom = d.Scale(2), sepSpace = d.Scale(3);
      ASSERT_EQ(bar->ButtonCount(), 4u);
      for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ((Size{At(i).Width(), At(i).Height()}), (Size{d.Scale(92), d.Scale(21)})) << i;
      const Rect win = Win().WindowRect();
      const bool vertical = edge == abeLeft || edge == abeRight;
      // Between two buttons exactly their two margins: never a pixel lost
      // or shared to rounding; around the separator its room and space too.
      for (size_t i = 1; i < 4; ++i) {
        const int between = i == 2 ? 2 * m + 2 * m + sepRoom + 2 * sepSpace : 2 * m;
        if (edge == abeFloat && At(i).top != At(i - 1).top) {
          EXPECT_EQ(At(i).top - At(i - 1).bottom, 2 * m) << i;
        } else if (vertical) {
          EXPECT_EQ(At(i).left, At(i - 1).left);
          EXPECT_GE(At(i).top - At(i - 1).bottom, 2 * m) << i;
          if (i != 2) {
            EXPECT_EQ(At(i).top - At(i - 1).bottom, 2 * m) << i;
          }
        } else {
          EXPECT_EQ(At(i).top, At(i - 1).top);
          EXPECT_EQ(At(i).left - At(i - 1).right, between) << i;
        }
      }
      const TAppBarSettings& s = bar->Settings();
      if (edge == abeFloat) {
        // Floating, the bar keeps the place the user gave it (pixels on the
        // screen); a new scale gives it the place the system suggests.
        EXPECT_EQ(win, (Rect{s.FloatLeft, s.FloatTop, s.FloatRight, s.FloatBottom}));
      } else if (vertical) {
        // The thickness: a button, its margins and the frame, in pixels.
        EXPECT_EQ(s.HorzDockSize, d.Scale(92) + 2 * m + 2 * f);
        EXPECT_EQ(win.Width(), s.HorzDockSize);
        EXPECT_EQ(win.left, edge == abeLeft ? 0 : 2560 - s.HorzDockSize);
        EXPECT_EQ(hp.Shell().Bars().at(bar->Handle()).rect, win);
      } else {
        EXPECT_EQ(s.VertDockSize, d.Scale(21) + 2 * m + 2 * f);
        EXPECT_EQ(win.Height(), s.VertDockSize);
        EXPECT_EQ(win.top, edge == abeTop ? 0 : 1560 - s.VertDockSize);
        EXPECT_EQ(hp.Shell().Bars().at(bar->Handle()).rect, win);
      }
      // Every button inside the client area.
      const Size client = bar->ClientSize();
      for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(At(i).right <= client.cx && At(i).bottom <= client.cy) << i;
      Stop();
    }
  }
}

TEST_F(BarScaleTest, SizesKeptIn96DpiUnitsComeBackUnchangedFromASaveAt150Percent) {
  StartAt(144, 2);
  ASSERT_EQ(At(0).Height(), 32);
  // The button list the layout saved keeps the buttons' own sizes.
  TDataModule saved;
  ASSERT_TRUE(LoadButtonList(saved.TblLinks, ButtonListPath(testing::kBarLinks), saved.SaveFormat));
  for (saved.TblLinks.First(); !saved.TblLinks.Eof(); saved.TblLinks.Next()) {
    if (!IsButtonRow(saved.TblLinks)) continue;
    EXPECT_EQ(saved.TblLinks.FieldByName("Width").AsInteger(), 92);
    EXPECT_EQ(saved.TblLinks.FieldByName("Height").AsInteger(), 21);
  }
  // The docking record keeps the thickness in 96-DPI units: the pixels at
  // 150 % (21 + 2 + 2 * 3 at 96 DPI become 32 + 4 + 2 * 5 = 46) over 1.5.
  const int pixels = bar->Settings().VertDockSize;
  EXPECT_EQ(pixels, 46);
  bar->Close();
  EXPECT_EQ(StoredRecord().VertDockSize, 31);
  EXPECT_EQ(bar->Settings().VertDockSize, 46);  // the bar's own stay pixels
  Stop();

  // A record's sizes in 96-DPI units pass through the scale unchanged.
  TAppBarSettings r;
  r.HorzDockSize = 29;
  r.VertDockSize = 117;
  r.MaxVertDockSize = 1024;
  TAppBarSettings back = r;
  ConvertDockSizes(back, Dpi(), Dpi(144));
  EXPECT_EQ(back.VertDockSize, 176);
  ConvertDockSizes(back, Dpi(144), Dpi());
  EXPECT_EQ(PackAppBarSettings(back), PackAppBarSettings(r));

  // At 100 % the next start reads the record as it was written.
  StartAt(96, 2);
  EXPECT_EQ(At(0).Height(), 21);
  EXPECT_EQ(bar->Settings().VertDockSize, 29);
}

TEST_F(BarScaleTest, WmDpiChangedLaysADockedBarOutAgainAndDocksItWithItsNewThickness) {
  StartAt(96, 3);
  ASSERT_EQ(Win().WindowRect(), (Rect{0, 0, 2560, 29}));
  // The user sets the monitor to 150 %: the system tells the bar.
  hp.SetMonitors({Monitor(144)});
  Rect suggested{0, 0, 3840, 44};
  Win().Send(WM_DPICHANGED, 144 | (144 << 16), reinterpret_cast<intptr_t>(&suggested));
  EXPECT_EQ(bar->BarDpi(), Dpi(144));
  EXPECT_EQ(Heights(), (std::vector<int>{32, 32, 32}));
  EXPECT_EQ(Win().WindowRect(), (Rect{0, 0, 2560, 46}));  // docked, not where suggested
  EXPECT_EQ(hp.Shell().Bars().at(bar->Handle()).rect, (Rect{0, 0, 2560, 46}));
  // The same scale again (the bar's own placement on it) changes nothing.
  const size_t moves = Win().history.size();
  Win().Send(WM_DPICHANGED, 144 | (144 << 16), reinterpret_cast<intptr_t>(&suggested));
  EXPECT_EQ(Win().history.size(), moves);
  // Nonsense is ignored.
  Win().Send(WM_DPICHANGED, 0, 0);
  EXPECT_EQ(bar->BarDpi(), Dpi(144));
}

TEST_F(BarScaleTest, WmDpiChangedGivesAFloatingBarTheSuggestedPlace) {
  StartAt(96, 5);
  bar->SetEdge(abeFloat);
  hp.Windows().Pump();
  ASSERT_EQ(At(0).Height(), 21);
  // Dragged onto a monitor at 200 %.
  Rect suggested{300, 200, 300 + 427, 200 + 320};  // its 320 x 240 at 200 %
  Win().Send(WM_DPICHANGED, 192 | (192 << 16), reinterpret_cast<intptr_t>(&suggested));
  EXPECT_EQ(Win().WindowRect(), suggested);
  EXPECT_EQ(Heights(), (std::vector<int>(5, 42)));
  EXPECT_EQ(At(0).Width(), 184);
  const TAppBarSettings& s = bar->Settings();
  EXPECT_EQ((Rect{s.FloatLeft, s.FloatTop, s.FloatRight, s.FloatBottom}), suggested);
  EXPECT_EQ(bar->GetEdge(), abeFloat);
}

TEST_F(BarScaleTest, ABarMovedToAMonitorOfAnotherScaleIsLaidOutForItBeforeItLands) {
  hp.SetMonitors({Monitor(96), Monitor(144, 2560, "\\\\.\\DISPLAY2", false)});
  PrepareButtons({{"Uno", "Button"}, {"Due", "Button"}});
  Start();
  ASSERT_EQ(Win().WindowRect(), (Rect{0, 0, 2560, 29}));
  const size_t before = Win().history.size();
  bar->PopSelectMonitorClick(*bar->FormComponent().Find("PopMonitor_2"));
  EXPECT_EQ(bar->BarDpi(), Dpi(144));
  EXPECT_EQ(Win().WindowRect(), (Rect{2560, 0, 5120, 46}));
  // Every place it took on the second monitor had the thickness of 150 %.
  for (size_t i = before; i < Win().history.size(); ++i)
    if (Win().history[i].left >= 2560) {
      EXPECT_EQ(Win().history[i].Height(), 46) << i;
    }
  EXPECT_EQ(Heights(), (std::vector<int>{32, 32}));
  // Back on the first, back to 100 %.
  bar->PopSelectMonitorClick(*bar->FormComponent().Find("PopMonitor_1"));
  EXPECT_EQ(Win().WindowRect(), (Rect{0, 0, 2560, 29}));
  EXPECT_EQ(Heights(), (std::vector<int>{21, 21}));
}

}  // namespace
}  // namespace tov
