// The bar's look in the system's high-contrast mode, pixel by pixel on the
// host canvas: which system colour paints what for each state of a button,
// whatever its own colours and style; then the bar following the mode as
// the system turns it on and off.
#include <gtest/gtest.h>

#include <set>

#include "controls/ButtonHost.h"
#include "controls/HighContrast.h"
#include "controls/LbSpeedButton.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "tests/BarFixture.h"
#include "toolkit/FormControls.h"

namespace tov {
namespace {

// System colours no style would choose, one per index.
constexpr Color kFace = RGB(1, 2, 3);         // COLOR_BTNFACE
constexpr Color kText = RGB(250, 250, 5);     // COLOR_BTNTEXT
constexpr Color kSel = RGB(0, 120, 7);        // COLOR_HIGHLIGHT
constexpr Color kSelText = RGB(9, 9, 250);    // COLOR_HIGHLIGHTTEXT
constexpr Color kGray = RGB(130, 11, 130);    // COLOR_GRAYTEXT
constexpr Color kLight = RGB(240, 241, 242);  // COLOR_BTNHIGHLIGHT
constexpr Color kShadow = RGB(60, 61, 62);    // COLOR_BTNSHADOW
constexpr Color kOwn = RGB(0x40, 0xC0, 0xF0);
constexpr Color kOwnText = RGB(200, 0, 0);

void SystemColours(host::HostPlatform& hp) {
  hp.Canvases().SetSysColor(15, kFace);
  hp.Canvases().SetSysColor(18, kText);
  hp.Canvases().SetSysColor(13, kSel);
  hp.Canvases().SetSysColor(14, kSelText);
  hp.Canvases().SetSysColor(17, kGray);
  hp.Canvases().SetSysColor(20, kLight);
  hp.Canvases().SetSysColor(16, kShadow);
}

class Host : public TButtonHost {
 public:
  void InvalidateArea(const Rect&, bool) override {}
  bool Showing() override { return true; }
  Point ClientToScreen(Point p) override { return p; }
};

std::set<Color> ColoursOf(const Bitmap& b) { return std::set<Color>(b.pixels.begin(), b.pixels.end()); }

TEST(HighContrast, EachStateTakesItsSystemColours) {
  EXPECT_EQ(HighContrastLook(LookState::Normal).face, clBtnFace);
  EXPECT_EQ(HighContrastLook(LookState::Normal).text, clBtnText);
  for (LookState s : {LookState::Hot, LookState::Down, LookState::Focused}) {
    EXPECT_EQ(HighContrastLook(s).face, clHighlight);
    EXPECT_EQ(HighContrastLook(s).text, clHighlightText);
  }
  EXPECT_EQ(HighContrastLook(LookState::Disabled).face, clBtnFace);
  EXPECT_EQ(HighContrastLook(LookState::Disabled).text, clGrayText);
}

TEST(HighContrast, AButtonOfItsOwnStyleIsPaintedInTheSystemColoursOnly) {
  host::HostPlatform hp;
  SystemColours(hp);
  Host host;
  TLbSpeedButton& b = host.AddButton();
  b.SetBounds(0, 0, 80, 22);
  b.SetCaption("Posta");
  b.SetStyle(bsModern);
  b.SetColor(kOwn);
  b.SetFont(FontSpec{"Tahoma", 8, 0, kOwnText});
  const std::set<Color> own = ColoursOf(b.PaintImage()->ToBitmap());
  EXPECT_TRUE(own.count(kOwn));  // its own look, while the mode is off

  b.SetHighContrast(true, false);
  Bitmap normal = b.PaintImage()->ToBitmap();
  EXPECT_EQ(normal.At(40, 2), kFace);
  EXPECT_TRUE(ColoursOf(normal).count(kText));  // the caption
  for (Color c : ColoursOf(normal)) {
    EXPECT_NE(c, kOwn);
    EXPECT_NE(c, kOwnText);
    EXPECT_NE(c, clFuchsia);  // nothing left transparent: the bar's own picture cannot show through
  }

  b.SetHighContrast(true, true);  // the keyboard focus
  Bitmap focused = b.PaintImage()->ToBitmap();
  EXPECT_EQ(focused.At(40, 2), kSel);
  EXPECT_TRUE(ColoursOf(focused).count(kSelText));
  EXPECT_FALSE(ColoursOf(focused).count(kText));

  b.SetHighContrast(true, false);
  b.MouseEnter();  // the mouse over it: the selection's colours too
  EXPECT_EQ(b.PaintImage()->ToBitmap().At(40, 2), kSel);
  b.MouseLeave();

  b.SetEnabled(false);
  Bitmap disabled = b.PaintImage()->ToBitmap();
  EXPECT_EQ(disabled.At(40, 2), kFace);
  EXPECT_TRUE(ColoursOf(disabled).count(kGray));
  EXPECT_FALSE(ColoursOf(disabled).count(kText));

  b.SetEnabled(true);
  b.SetHighContrast(false, true);  // the mode off again: its own colours, no focus look
  EXPECT_TRUE(ColoursOf(b.PaintImage()->ToBitmap()).count(kOwn));
}

TEST(HighContrast, DialogControlsLeaveTheirOwnColoursForTheSystems) {
  host::HostPlatform hp;
  auto form = MakeComponent(ComponentKind::Form, "Prova");
  Component& link = form->Add(ComponentKind::Label, "Sito");
  link.properties["Link"] = "https://example.org";
  Component& edit = form->Add(ComponentKind::Edit, "Nome");
  edit.properties["Color"] = std::to_string(uint32_t(kOwn));
  EXPECT_EQ(DescribeControl(link, *form).font.color, RGB(0, 0, 255));
  EXPECT_EQ(DescribeControl(edit, *form).background, kOwn);
  hp.System().highContrast = true;
  EXPECT_EQ(DescribeControl(link, *form).font.color, clHotLight);
  EXPECT_EQ(DescribeControl(edit, *form).background, kNoColor);
  EXPECT_EQ(DescribeControl(edit, *form).font.color, clBtnText);
}

struct BarContrastTest : testing::BarFixture {
  BarContrastTest() {
    PrepareButtons({{"Posta", "Button"}, {"Paint", "Button"}});
    Start();
    SystemColours(hp);
    bar->SetBackgroundColor(int32_t(kOwn));
  }
  Bitmap Paint() {
    auto canvas = Canvases().CreateBitmapCanvas(bar->ClientSize().cx, bar->ClientSize().cy);
    bar->Paint(*canvas);
    return canvas->ToBitmap();
  }
};

TEST_F(BarContrastTest, TheBarFollowsTheModeAsTheSystemTurnsItOnAndOff) {
  EXPECT_TRUE(ColoursOf(Paint()).count(kOwn));
  hp.System().highContrast = true;
  Win().Send(WM_SETTINGCHANGE, kSpiSetHighContrast, 0);
  Bitmap on = Paint();
  EXPECT_FALSE(ColoursOf(on).count(kOwn));
  EXPECT_EQ(on.At(on.width - 2, on.height / 2), kFace);  // the bar's empty end
  EXPECT_TRUE(ColoursOf(on).count(kText));
  EXPECT_FALSE(ColoursOf(on).count(kSel));  // no focus, no mouse: no selection colour

  // The keyboard focus on the second button: that button alone in the
  // selection's colours.
  bar->TakeKeyboardFocus();
  Win().Send(WM_KEYDOWN, 0x27, 0);  // Right
  Bitmap focus = Paint();
  const Rect second = bar->Button(1).BoundsRect();
  const Rect first = bar->Button(0).BoundsRect();
  EXPECT_EQ(focus.At(second.left + second.Width() / 2, second.top + 3), kSel);
  EXPECT_EQ(focus.At(first.left + first.Width() / 2, first.top + 3), kFace);

  hp.System().highContrast = false;
  Win().Send(kWmSysColorChange, 0, 0);
  EXPECT_TRUE(ColoursOf(Paint()).count(kOwn));
}

}  // namespace
}  // namespace tov
