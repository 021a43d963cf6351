// Button styles between table rows and speed buttons.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "controls/Appearance.h"
#include "controls/ButtonStyle.h"
#include "controls/ShellImages.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"
#include "tables/DataModule.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"

namespace tov {
namespace {

struct Tables {
  Tables() {
    DefineLinkColumns(links);
    links.CreateTable();
    DefineThemeColumns(themes);
    themes.CreateTable();
  }
  TRecordTable links{"TblLinks"};
  TRecordTable themes{"TblThemes"};
};

TEST(ButtonStyle, RowsRoundTripAndTheThemeTableKeepsItsOwnColumnsOut) {
  host::HostPlatform hp;
  Tables t;
  TCustomButtonStyle s;
  s.Ordine = 4;
  s.Caption = "Posta";
  s.Path = "C:\\Posta.lnk";
  s.RealTime = true;
  s.Width = 70;
  s.Font = FontSpec{"Arial", 9, kFontBold | kFontUnderline | kFontStrikeOut, RGB(1, 2, 3)};
  s.SelFont.style = kFontItalic;
  s.ButtonStyle = cbsCustomShine;
  s.TextAlignment = 1;
  s.ImgLayout = 3;
  s.SmallIcon = false;
  t.links.Append();
  s.SaveToRow(t.links);
  EXPECT_EQ(t.links.State(), TTableState::Browse);
  EXPECT_EQ(t.links.FieldByName("FontStyle").AsInteger(), 5);  // strike-out is not kept
  EXPECT_EQ(t.links.FieldByName("SelFontStyle").AsInteger(), 2);
  EXPECT_EQ(t.links.FieldByName("Type").AsString(), "Button");
  TCustomButtonStyle back;
  back.LoadFromRow(t.links);
  EXPECT_EQ(back.Ordine, 4);
  EXPECT_EQ(back.Caption, "Posta");
  EXPECT_TRUE(back.RealTime);
  EXPECT_EQ(back.Font, (FontSpec{"Arial", 9, kFontBold | kFontUnderline, RGB(1, 2, 3)}));
  EXPECT_EQ(back.ButtonStyle, cbsCustomShine);
  EXPECT_EQ(back.ImgLayout, 3);
  EXPECT_FALSE(back.SmallIcon);
  EXPECT_EQ(back.Width, 70);

  t.themes.Append();
  s.SaveToRow(t.themes);
  EXPECT_EQ(t.themes.FieldByName("Width").AsInteger(), 70);
  TCustomPanelStyle panel;
  panel.Ordine = 9;
  panel.Caption = "resta";
  panel.RealTime = false;
  panel.LoadFromRow(t.themes);
  EXPECT_EQ(panel.Ordine, 9);
  EXPECT_EQ(panel.Caption, "resta");
  EXPECT_FALSE(panel.RealTime);
  EXPECT_EQ(panel.Width, 70);
  t.themes.Append();
  panel.SaveToRow(t.themes);
  EXPECT_EQ(t.themes.FieldByName("Type").AsString(), "Panel");
}

TEST(ButtonStyle, AMissingColumnIsTheTablesError) {
  host::HostPlatform hp;
  TRecordTable bare("Vecchia");
  bare.AddFieldDef("Ordine", ftInteger);
  bare.AddFieldDef("Width", ftInteger);
  bare.CreateTable();
  bare.Append();
  bare.Post();
  TCustomButtonStyle s;
  try {
    s.LoadFromRow(bare);
    FAIL();
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "Vecchia: Field 'Height' not found");
  }
  EXPECT_THROW(s.SaveToRow(bare), TableError);
  EXPECT_EQ(bare.State(), TTableState::Edit);  // left as the error found it
}

TEST(ButtonStyle, AutoSizeFollowsIconAndText) {
  host::HostPlatform hp;
  auto surface = Canvases().CreateBitmapCanvas(1, 1);
  TCustomButtonStyle s;
  s.Caption = "Abc";  // 15 x 13 in the host's 8-point font
  EXPECT_EQ(s.AutoSizeExtent(*surface), (Size{15 + 40, 16 + 13}));
  s.SmallIcon = false;
  EXPECT_EQ(s.AutoSizeExtent(*surface), (Size{15 + 32 + 24, 32 + 8}));
  s.ImgLayout = 2;
  EXPECT_EQ(s.AutoSizeExtent(*surface), (Size{15 + 24, 13 + 32 + 10}));
  s.ShowText = false;
  EXPECT_EQ(s.AutoSizeExtent(*surface), (Size{40, 40}));
  s.ShowIcon = false;
  EXPECT_EQ(s.AutoSizeExtent(*surface), (Size{8, 8}));

  TLbSpeedButton b;
  b.SetCaption("vecchio");
  s.ApplyToButton(b);
  EXPECT_EQ(b.Caption(), "");
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.Height(), 8);
  s.AutoSize = false;
  s.ShowText = true;
  s.ApplyToButton(b);
  EXPECT_EQ(b.Caption(), "Abc");
  EXPECT_EQ((Size{b.Width(), b.Height()}), (Size{92, 21}));
}

TEST(ButtonStyle, StyleTableDarkensTheShineHotTrackAndLeavesUnknownStylesAlone) {
  host::HostPlatform hp;
  hp.Canvases().SetSysColor(20, RGB(255, 255, 255));
  TCustomButtonStyle s;
  s.ButtonStyle = cbsShine;
  TLbSpeedButton b;
  s.ApplyToButton(b);
  EXPECT_EQ(b.Style(), bsModern);
  EXPECT_EQ(b.HotTrackColor(), RGB(165, 165, 165));
  EXPECT_EQ(b.ShadowColor(), clBlack);
  EXPECT_FALSE(b.Flat());

  s.ButtonStyle = cbsDefault;
  s.ApplyToButton(b);
  EXPECT_TRUE(b.Flat());
  EXPECT_EQ(b.Style(), bsNormal);
  EXPECT_EQ(b.HotTrackColor(), clBtnFace);

  TLbSpeedButton c;
  c.SetStyle(bsModern);
  c.SetColor(RGB(1, 1, 1));
  TCustomButtonStyle odd;
  odd.ButtonStyle = 7;
  odd.Color = RGB(9, 9, 9);
  odd.AutoSize = false;
  odd.Width = 50;
  odd.WordWrap = true;
  odd.Font.size = 12;
  odd.HotTrack = true;
  odd.SelFont.name = "Arial";
  odd.ApplyToButton(c);
  EXPECT_EQ(c.Style(), bsModern);
  EXPECT_EQ(c.ButtonColor(), RGB(1, 1, 1));
  EXPECT_EQ(c.Width(), 50);
  EXPECT_TRUE(c.WordWrap());
  EXPECT_EQ(c.Font().size, 12);
  EXPECT_TRUE(c.UseHotTrackFont());
  EXPECT_EQ(c.HotTrackFont().name, "Arial");
}

TEST(ButtonStyle, IconsComeFromTheShellListsForVisibleEntriesOnly) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  ASSERT_TRUE(Files().WriteFile("C:\\Dati\\nota.txt", "x"));
  ASSERT_TRUE(Files().WriteFile("C:\\Dati\\.nascosto.txt", "x"));
  EXPECT_EQ(TCustomButtonStyle::PathIconIndex("C:\\Dati\\nota.txt"), Shell().IconIndex("C:\\Dati\\nota.txt", 1));
  EXPECT_GE(TCustomButtonStyle::PathIconIndex("C:\\Dati\\"), 0);
  EXPECT_EQ(TCustomButtonStyle::PathIconIndex("C:\\Dati\\manca.txt"), -1);
  EXPECT_EQ(TCustomButtonStyle::PathIconIndex("C:\\Dati\\.nascosto.txt"), -1);
  EXPECT_EQ(TCustomButtonStyle::PathIconIndex("C:\\Dati\\*.txt"), -1);
}

TEST(ButtonStyle, AButtonShowsAPlaceholderOfItsIconsSizeUntilTheIconArrives) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  ASSERT_TRUE(Files().WriteFile("C:\\Dati\\nota.txt", "x"));
  TLbSpeedButton b;
  TCustomButtonStyle s;
  s.ButtonStyle = cbsCustomFlat;
  const Color back = RGB(200, 100, 40);
  s.Color = back;
  s.Path = "C:\\Dati\\nota.txt";
  s.ApplyToButton(b, nullptr, Dpi(144));
  EXPECT_EQ(s.IconDpi, 144);
  // 24 pixels at 150 %: the button's colour with a darker frame two pixels in.
  ASSERT_EQ(b.NumGlyphs(), 1);
  const Bitmap& placeholder = b.Glyph();
  ASSERT_EQ(placeholder.width, 24);
  ASSERT_EQ(placeholder.height, 24);
  const Color frame = Darker(back, 25);
  EXPECT_NE(frame, back);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const bool onFrame = x >= 3 && y >= 3 && x <= 20 && y <= 20 && (x == 3 || y == 3 || x == 20 || y == 20);
      EXPECT_EQ(placeholder.At(x, y), onFrame ? frame : back) << x << "," << y;
    }
  }
  // A system colour is drawn as what it stands for now.
  EXPECT_EQ(IconPlaceholder(16, clBtnFace).At(0, 0), Canvases().SysColor(15));
  s.SmallIcon = false;
  s.ApplyToButton(b, nullptr, Dpi(144));
  EXPECT_EQ(b.Glyph().width, 48);

  // The icon arrives: laid over the button's colour by its alpha.
  Picture icon;
  ASSERT_TRUE(Shell().IconPicture(s.Path, 48, &icon));
  ApplyArrivedIcon(b, icon);
  const int i = Shell().IconIndex(s.Path, kIconSmall);
  ASSERT_EQ(b.NumGlyphs(), 1);
  ASSERT_EQ(b.Glyph().width, 48);
  EXPECT_EQ(b.Glyph().At(24, 24), host::IconColor(i));  // opaque
  EXPECT_EQ(b.Glyph().At(0, 47), back);                 // clear: the corner takes the button's colour
  const Color border = host::IconBorderColor(i);        // half opaque
  auto half = [](uint8_t f, uint8_t u) { return uint8_t((f * 128 + u * 127 + 127) / 255); };
  EXPECT_EQ(b.Glyph().At(24, 0), RGB(half(RedOf(border), RedOf(back)), half(GreenOf(border), GreenOf(back)),
                                     half(BlueOf(border), BlueOf(back))));
  // No icon for the target: no glyph, no placeholder left behind.
  ApplyArrivedIcon(b, Picture());
  EXPECT_EQ(b.NumGlyphs(), 0);
  // Without ShowIcon the glyph is left as it is.
  Bitmap before = b.Glyph();
  s.ShowIcon = false;
  s.ApplyToButton(b);
  EXPECT_EQ(b.Glyph(), before);
}

// A shell that counts the questions for its system lists, and has none while
// `none` is set.
struct CountingShell : host::HostShell {
  using HostShell::HostShell;
  uintptr_t SystemImageList(bool small) override {
    ++asked;
    return none ? 0 : HostShell::SystemImageList(small);
  }
  int asked = 0;
  bool none = false;
};

TEST(ButtonStyle, TheSharedListsAskTheShellOnceUnlessItHadNoneOrIsAnother) {
  host::HostPlatform hp;
  CountingShell shell(&hp.Windows());
  IShell* own = Sys().shell;
  Sys().shell = &shell;
  struct Restore {
    IShell* own;
    ~Restore() { Sys().shell = own; }
  } restore{own};
  shell.none = true;
  EXPECT_EQ(SharedImageList(true), nullptr);
  EXPECT_EQ(SharedImageList(true), nullptr);
  EXPECT_EQ(shell.asked, 2);  // none yet: asked at each use
  shell.none = false;
  const TImageList* small = SharedImageList(true);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->handle, hp.Shell().SystemImageList(true));
  // Styling buttons uses the list twice each: the shell is not asked again.
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  ASSERT_TRUE(Files().WriteFile("C:\\Dati\\nota.txt", "x"));
  TCustomButtonStyle s;
  s.Path = "C:\\Dati\\nota.txt";
  for (int i = 0; i < 10; ++i) {
    TLbSpeedButton b;
    s.ApplyToButton(b);
    EXPECT_EQ(b.NumGlyphs(), 1);
  }
  EXPECT_EQ(SharedImageList(true), small);
  EXPECT_EQ(shell.asked, 3);
  // Another shell answers for itself.
  Sys().shell = own;
  shell.none = true;
  ASSERT_NE(SharedImageList(true), nullptr);
  EXPECT_EQ(shell.asked, 3);
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

TEST(ButtonStyle, ASizeKeptIn96DpiUnitsIsScaledOnTheButtonAndNotInTheRow) {
  host::HostPlatform hp;
  Tables t;
  TCustomButtonStyle s;
  s.AutoSize = false;
  s.Width = 92;
  s.Height = 21;
  s.Caption = "Abc";
  TLbSpeedButton b;
  s.ApplyToButton(b, nullptr, Dpi(144));
  EXPECT_EQ((Size{b.Width(), b.Height()}), (Size{138, 32}));
  EXPECT_EQ(b.Font().size, 8);  // points; turned into pixels at the scale
  EXPECT_EQ(b.Font().dpi, 144);
  t.links.Append();
  s.SaveToRow(t.links);
  TCustomButtonStyle back;
  back.LoadFromRow(t.links);
  EXPECT_EQ(back.Width, 92);
  EXPECT_EQ(back.Height, 21);

  // The automatic size: the text at the scale's font, a 24-pixel icon, the
  // padding scaled.
  auto surface = Canvases().CreateBitmapCanvas(1, 1);
  s.AutoSize = true;
  const Size at96 = s.AutoSizeExtent(*surface);
  const Size at144 = s.AutoSizeExtent(*surface, Dpi(144));
  EXPECT_EQ(at96, (Size{15 + 40, 16 + 13}));
  EXPECT_NEAR(at144.cy, at96.cy * 3 / 2, 2);
  EXPECT_NEAR(at144.cx, at96.cx * 3 / 2, 3);
  s.ShowText = false;
  EXPECT_EQ(s.AutoSizeExtent(*surface, Dpi(144)), (Size{24 + 12, 24 + 12}));
}

}  // namespace
}  // namespace tov
