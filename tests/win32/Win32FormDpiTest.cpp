// Dialogs at the scale of their monitor: the logic lays a dialog out in
// 96-DPI units and the Win32 realisation shows it in the monitor's pixels.
// Moved to a monitor of another scale (WM_DPICHANGED) its controls, fonts,
// columns and frame follow, and what it reports back to the logic stays in
// units, so nothing the files keep changes with the monitor.
#include <gtest/gtest.h>

#include "tests/win32/DialogSteps.h"
#include "tests/win32/Display.h"
#include "tests/win32/Screenshot.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32NativeForm.h"

namespace tov {
namespace {

struct Events : IFormEvents {
  std::vector<Rect> frames;
  std::vector<Size> painted;  // the background canvas, as the logic sees it
  std::vector<std::string> log;
  bool ended = false;
  void Clicked(ControlId) override {}
  void TextChanged(ControlId, const std::string&) override {}
  void SelectionChanged(ControlId, int) override {}
  void CheckChanged(ControlId, bool) override {}
  void Spun(ControlId, int) override {}
  void DateChanged(ControlId, bool, const DateTime&) override {}
  void Dragged(ControlId, int dx, int dy) override {
    log.push_back("Dragged " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void RowsSelected(ControlId, const std::vector<int>&) override {}
  bool CaptionEdited(ControlId, int, const std::string&) override { return true; }
  void DoubleClicked(ControlId) override {}
  void FrameChanged(const Rect& b) override { frames.push_back(b); }
  void FocusChanged(ControlId) override {}
  void CloseRequested() override { ended = true; }
  ControlId DefaultButton() override { return 0; }
  ControlId CancelButton() override { return 0; }
  void PaintControl(ControlId, ICanvas& canvas, const PaintState&) override {
    // A button painted in units: filled edge to edge.
    canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, RGB(200, 40, 40));
  }
  void PaintBackground(ControlId, ICanvas& canvas) override {
    painted.push_back(Size{canvas.Width(), canvas.Height()});
    canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, RGB(236, 233, 216));
  }
  void Shown() override {}
  void TimerFired(int) override {}
  bool Ended() override { return ended; }
};

RECT InParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int FontHeight(HWND h) {
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return std::abs(lf.lfHeight);
}

ControlDesc Desc(ControlType type, Rect bounds, const std::string& text) {
  ControlDesc d;
  d.type = type;
  d.name = text;
  d.bounds = bounds;
  d.text = text;
  return d;
}

// What one scale shows: the controls' places, their fonts, the client area.
struct Seen {
  std::vector<RECT> places;
  std::vector<int> fonts;
  RECT client{};
  int column = 0;
  int iconSide = 0;       // the list view's small images
  bool rowImage = false;  // its row shows a picture of that list
  Point screenPoint;
  Point origin;
};

TEST(Win32FormDpi, ControlsAndFontsFollowTheScaleAndTheLogicKeepsItsUnits) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  FrameDesc frame;
  frame.name = frame.caption = "Scaled";
  frame.bounds = Rect{60, 60, 60 + 300, 60 + 200};
  frame.border = FrameBorder::Dialog;
  Events events;
  std::unique_ptr<INativeForm> form = win32::CreateNativeForm(frame, nullptr, events);
  const std::vector<Rect> units = {{10, 10, 150, 31}, {10, 40, 150, 55}, {160, 10, 235, 35}, {10, 70, 290, 190}};
  std::vector<ControlId> ids;
  ids.push_back(form->AddControl(Desc(ControlType::Edit, units[0], "edit")));
  ids.push_back(form->AddControl(Desc(ControlType::Label, units[1], "A label of some length")));
  ids.push_back(form->AddControl(Desc(ControlType::PushButton, units[2], "OK")));
  ControlDesc list = Desc(ControlType::ListView, units[3], "list");
  list.columns = {ColumnDesc{"Name", 120}};
  // A row with the shell's picture of a program.
  SHFILEINFOA info{};
  SHGetFileInfoA("C:\\windows\\notepad.exe", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  list.rows = {{"Notepad"}};
  list.rowImages = {info.iIcon};
  ids.push_back(form->AddControl(list));

  std::vector<HWND> windows;
  auto look = [&](HWND dialog) {
    Seen s;
    if (windows.empty())
      for (ControlId id : ids)
        windows.push_back(GetDlgItem(dialog, id));
    for (HWND h : windows) {
      s.places.push_back(InParent(h));
      s.fonts.push_back(FontHeight(h));
    }
    GetClientRect(dialog, &s.client);
    s.column = int(SendMessageA(windows[3], LVM_GETCOLUMNWIDTH, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(windows[3], LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    int cx = 0, cy = 0;
    if (images && ImageList_GetIconSize(images, &cx, &cy)) s.iconSide = cx;
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    SendMessageA(windows[3], LVM_GETITEMA, 0, LPARAM(&it));
    s.rowImage = images && it.iImage >= 0 && it.iImage < ImageList_GetImageCount(images);
    s.screenPoint = form->ScreenPoint(Point{10, 20});
    s.origin = form->ClientOrigin();
    return s;
  };
  Seen first, at144, at96, again144;
  size_t framesBefore = 0;
  std::vector<std::function<void(HWND)>> steps = {
      [&](HWND d) {
        first = look(d);
        framesBefore = events.frames.size();
        testing::ChangeDpi(d, win32::WindowDpi(d), 144);
      },
      [&](HWND d) {
        at144 = look(d);
        testing::SaveScreenshot(d, "dialog-150");
        testing::ChangeDpi(d, 144, 96);
      },
      [&](HWND d) {
        at96 = look(d);
        testing::SaveScreenshot(d, "dialog-100");
        testing::ChangeDpi(d, 96, 144);
      },
      [&](HWND d) {
        again144 = look(d);
        // A splitter's drag of 30 pixels at 150 % is 20 units.
        PostMessageA(d, WM_APP + 2, WPARAM(ids[0]), MAKELPARAM(30, -15));
      },
      [&](HWND d) { testing::ChangeDpi(d, 144, 96); },
  };
  const size_t ran = testing::RunDialogSteps("Scaled", steps, &events.ended, [&] { form->RunModal(); });
  ASSERT_EQ(ran, steps.size());

  auto within1 = [](int got, int want) { return std::abs(got - want) <= 1; };
  for (size_t i = 0; i < units.size(); ++i) {
    SCOPED_TRACE(i);
    const Rect& u = units[i];
    const RECT& p = at144.places[i];
    EXPECT_TRUE(within1(p.left, u.left * 3 / 2) && within1(p.top, u.top * 3 / 2)) << p.left << "," << p.top;
    EXPECT_TRUE(within1(p.right - p.left, u.Width() * 3 / 2)) << p.right - p.left;
    EXPECT_TRUE(within1(p.bottom - p.top, u.Height() * 3 / 2)) << p.bottom - p.top;
    // Back at 96 DPI every control is exactly where its units say.
    const RECT& b = at96.places[i];
    EXPECT_EQ(b.left, u.left);
    EXPECT_EQ(b.top, u.top);
    EXPECT_EQ(b.right, u.right);
    EXPECT_EQ(b.bottom, u.bottom);
    EXPECT_TRUE(EqualRect(&again144.places[i], &at144.places[i]));
    // Fonts are made at the scale, not stretched: half as tall again.
    EXPECT_TRUE(within1(at144.fonts[i] * 2, at96.fonts[i] * 3)) << at144.fonts[i] << " against " << at96.fonts[i];
  }
  EXPECT_EQ(at144.client.right, 450);
  EXPECT_EQ(at144.client.bottom, 300);
  EXPECT_EQ(at96.client.right, 300);
  EXPECT_EQ(at96.client.bottom, 200);
  EXPECT_EQ(at144.column, 180);
  EXPECT_EQ(at96.column, 120);
  // The list's pictures are the small icon's size at each scale, and the row
  // shows its own in the list of that scale.
  EXPECT_EQ(at144.iconSide, 24);
  EXPECT_EQ(at96.iconSide, 16);
  EXPECT_EQ(again144.iconSide, 24);
  EXPECT_TRUE(at144.rowImage && at96.rowImage && again144.rowImage);
  EXPECT_EQ(at144.screenPoint.x - at144.origin.x, 15);
  EXPECT_EQ(at144.screenPoint.y - at144.origin.y, 30);
  // What the logic hears stays in units: the client area is 300 x 200 at
  // every scale, so the new scales told it nothing (the window kept its
  // place), and a splitter's pixels come as units.
  EXPECT_EQ(events.frames.size(), framesBefore);
  for (const Rect& f : events.frames) {
    EXPECT_EQ(f.Width(), 300);
    EXPECT_EQ(f.Height(), 200);
  }
  for (const Size& s : events.painted) {
    EXPECT_EQ(s.cx, 300);
    EXPECT_EQ(s.cy, 200);
  }
  EXPECT_EQ(events.log, (std::vector<std::string>{"Dragged 20 -10"}));
}

}  // namespace
}  // namespace tov
