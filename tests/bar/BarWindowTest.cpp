// The bar window on the headless platform: instance slots, first and normal
// start, the border options and the layout of its buttons and separators.
#include <gtest/gtest.h>

#include "bar/BarWindow.h"
#include "controls/ButtonTable.h"
#include "docking/MonitorList.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct BarWindowTest : testing::BarFixture {
  // A start on two buttons, with the fixed border the bar has by default: a
  // dialog frame of 5 pixels.
  void StartFramedOnTwoButtons() {
    Start();
    Stop();
    PrepareButtons({{"Uno", "Button"}, {"Due", "Button"}});
    hp.System().metrics[SM_CXDLGFRAME] = 6;
    hp.System().metrics[SM_CYDLGFRAME] = 5;
    Start();
  }
};
const char* const kLinks = testing::kBarLinks;

// A click on the first button of a bar docked at the top.
void ClickFirstButton(host::HostWindow& bar) {
  bar.Send(WM_LBUTTONDOWN, 1, intptr_t(10) | (intptr_t(5) << 16));
  bar.Send(WM_LBUTTONUP, 0, intptr_t(10) | (intptr_t(5) << 16));
}

TEST_F(BarWindowTest, CopiesInTwoFoldersClaimTwoSlotsAndFindThemAgain) {
  Start();
  EXPECT_EQ(bar->BarInstanceIndex(), 0);
  EXPECT_EQ(Slot(0), "\"C:\\Uno\\tovira.exe\"");
  Stop();
  hp.Files().SetExePath("C:\\Due\\tovira.exe");
  Start();
  EXPECT_EQ(bar->BarInstanceIndex(), 1);
  EXPECT_EQ(bar->KeyName(), "Software\\Brenvoll\\Tovira_1");
  Stop();
  hp.Files().SetExePath("C:\\Uno\\tovira.exe");
  Start();
  EXPECT_EQ(bar->BarInstanceIndex(), 0);
  // The same path in other letters is another copy.
  EXPECT_EQ(bar->ClaimInstanceSlot(), 0);
  hp.Files().SetExePath("C:\\UNO\\tovira.exe");
  EXPECT_EQ(bar->ClaimInstanceSlot(), 2);
  // Every slot taken by other paths: -1.
  for (int i = 0; i <= 9; ++i)
    Registry().WriteString(kInstanceRootKey, InstanceValueName(i), "\"X" + std::to_string(i) + "\"");
  hp.Files().SetExePath("C:\\Tre\\tovira.exe");
  EXPECT_EQ(bar->ClaimInstanceSlot(), -1);
  hp.Registry().DenyKey(kInstanceRootKey);
  EXPECT_EQ(bar->ClaimInstanceSlot(), -1);
}

TEST_F(BarWindowTest, FirstStartDocksAtTheTopTellsWhereTheShortcutsLiveAndStaysWithAnEmptyButtonList) {
  Start();
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "Prima esecuzione");
  // The message names the folder it made and how to fill it.
  EXPECT_EQ(hp.Dialogs().shown[0].text,
            "Tovira ha creato la cartella dei collegamenti: " + std::string(kLinks) +
                "\r\n\r\nTrascina sulla barra file, cartelle o programmi per farne pulsanti, oppure scegli "
                "un'altra cartella con il tasto destro (\"Cartella origine\").");
  EXPECT_EQ(hp.Dialogs().shown[0].style, uint32_t(MB_OK | MB_ICONINFORMATION));
  EXPECT_TRUE(bar->FirstStart());
  // The bar stays, docked at the top, with the links folder and an empty
  // button list.
  EXPECT_FALSE(hp.Windows().QuitRequested());
  EXPECT_TRUE(bar->Visible());
  EXPECT_EQ(bar->GetEdge(), abeTop);
  EXPECT_TRUE(Files().DirExists(kLinks));
  EXPECT_TRUE(Files().FileExists(std::string(kLinks) + "ButtonList.lob"));
  EXPECT_EQ(dc->TblLinks.GetRecordCount(), 0);
  // The language of a first start was kept as the setting.
  EXPECT_EQ(program.UserStore().GetString("Interfaccia", "Lingua", ""), "Italiano");
  // Closed as a user closes it, the bar writes its docking state.
  bar->Close();
  RegValue v;
  ASSERT_TRUE(Registry().ReadValue("Software\\Brenvoll\\Tovira_0", "", &v));
  EXPECT_EQ(v.data.size(), 88u);
  EXPECT_EQ(v.data[4], abeTop);
  Stop();
  // The next start is a normal one: no question, the bar stays.
  Start();
  EXPECT_FALSE(bar->FirstStart());
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_FALSE(hp.Windows().QuitRequested());
  EXPECT_EQ(bar->GetEdge(), abeTop);
}

TEST_F(BarWindowTest, TheStartHoldsTheMonitorListFromBeforeTheTablesUntilItStops) {
  EXPECT_EQ(program.MonitorCount(), 0);
  Start();
  EXPECT_EQ(program.MonitorCount(), 1);
  PrepareButtons({{"Uno", "Button"}});  // a data module of its own leaves the list alone
  EXPECT_EQ(program.MonitorCount(), 1);
  Stop();
  EXPECT_EQ(program.MonitorCount(), 0);
  EXPECT_EQ(program.monitors, nullptr);
}

TEST_F(BarWindowTest, NormalStartShowsAButtonPerRowLaidOutForTheTopEdge) {
  StartFramedOnTwoButtons();
  ASSERT_EQ(bar->ButtonCount(), 2u);
  EXPECT_EQ(bar->Button(0).BoundsRect(), (Rect{8, 1, 100, 22}));
  EXPECT_EQ(bar->Button(1).BoundsRect(), (Rect{102, 1, 194, 22}));
  // A button and its margins, and the frame above and below.
  EXPECT_EQ(bar->Settings().VertDockSize, 1 + 21 + 1 + 2 * 5);
  ASSERT_EQ(bar->SeparatorRects().size(), 1u);
  EXPECT_EQ(bar->SeparatorRects()[0], (Rect{4, 3, 6, 20}));  // the grip line
  EXPECT_EQ(Win().WindowRect().Height(), 33);
  EXPECT_EQ(bar->Button(1).tag, 1);
  EXPECT_EQ(bar->Button(0).hint, "Uno");
}

TEST_F(BarWindowTest, LeftEdgePutsEveryControlUnderThePreviousOne) {
  StartFramedOnTwoButtons();
  bar->SetEdge(abeLeft);
  ASSERT_EQ(bar->ButtonCount(), 2u);
  EXPECT_EQ(bar->Button(0).BoundsRect().left, 1);
  EXPECT_EQ(bar->Button(0).BoundsRect().top, 8);
  EXPECT_EQ(bar->Button(1).BoundsRect().top, 31);
  EXPECT_EQ(bar->Settings().HorzDockSize, 1 + 92 + 1 + 2 * 6);
  EXPECT_EQ(Win().WindowRect().Width(), 106);
  EXPECT_EQ(bar->SeparatorRects()[0], (Rect{3, 4, 91, 6}));
  EXPECT_EQ(bar->LastEdge(), abeLeft);
}

TEST_F(BarWindowTest, SeparatorsAreEtchedLinesBetweenButtons) {
  StartOn({{"Uno", "Button"}, {"", "Panel"}, {"Due", "Button"}});
  ASSERT_EQ(bar->ButtonCount(), 2u);
  ASSERT_EQ(bar->SeparatorRects().size(), 2u);
  // Flow position after the first button: 8 + 92 + 2 = 102; the line at +3.
  EXPECT_EQ(bar->SeparatorRects()[1], (Rect{105, 3, 107, 20}));
  EXPECT_EQ(bar->Button(1).BoundsRect().left, 102 + 2 + 2 + 6);
  // The etched line darkens its left column and lightens its right one.
  auto canvas = Canvases().CreateBitmapCanvas(300, 23);
  bar->Paint(*canvas);
  const Color face = Canvases().SysColor(15);
  EXPECT_EQ(canvas->GetPixel(105, 10), RGB(RedOf(face) - 50, GreenOf(face) - 50, BlueOf(face) - 50));
  EXPECT_EQ(canvas->GetPixel(106, 10),
            RGB(std::min(255, RedOf(face) + 50), std::min(255, GreenOf(face) + 50), std::min(255, BlueOf(face) + 50)));
  EXPECT_EQ(canvas->GetPixel(105, 19), canvas->GetPixel(106, 19));
  EXPECT_EQ(canvas->GetPixel(104, 10), face);
}

TEST_F(BarWindowTest, ARebuildLeavesThePaintToTheWindowWhileAButtonAlonePaintsAtOnce) {
  Start();
  Stop();
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 0; i < 12; ++i)
    rows.emplace_back("B" + std::to_string(i), "Button");
  PrepareButtons(rows);
  Start();
  ASSERT_EQ(bar->ButtonCount(), 12u);
  const int updates = Win().updates, invalidations = Win().invalidations;
  bar->RebuildBar();
  // Twelve buttons styled and placed, and not one paint at once: the window
  // is invalidated and paints the whole bar when the system asks.
  EXPECT_EQ(Win().updates, updates);
  EXPECT_GT(Win().invalidations, invalidations);
  ASSERT_EQ(bar->ButtonCount(), 12u);
  // Outside a rebuild the mouse entering a button paints it at once.
  bar->Button(3).MouseEnter();
  EXPECT_EQ(Win().updates, updates + 1);
}

TEST_F(BarWindowTest, AutoStartFollowsTheSlotAndTheRunKey) {
  Start();
  Registry().CreateKey(kRunKey);
  bar->SetAutoStart(true);
  RegValue v;
  ASSERT_TRUE(Registry().ReadValue(kRunKey, "Brenvoll.Tovira_0", &v));
  EXPECT_EQ(v.AsString(), "\"C:\\Uno\\tovira.exe\"");
  bar->SetAutoStart(false);
  EXPECT_FALSE(Registry().ReadValue(kRunKey, "Brenvoll.Tovira_0", &v));
}

TEST_F(BarWindowTest, BorderOptionsAndGlass) {
  Start();
  Stop();
  TBarSettings& s = program.Settings();
  Start();
  s.Borderless = true;
  s.GlassPanel = true;
  s.FixedBorder = true;
  bar->ApplyBorderStyle();
  EXPECT_EQ(bar->BorderStyle(), TBorderStyle::bsNone);
  EXPECT_TRUE(s.FixedBorder);
  EXPECT_EQ(bar->Glass(), nullptr);
  s.Borderless = false;
  bar->ApplyBorderStyle();
  EXPECT_EQ(bar->BorderStyle(), TBorderStyle::bsSizeable);
  EXPECT_FALSE(s.FixedBorder);
  EXPECT_NE(bar->Glass(), nullptr);
}

TEST_F(BarWindowTest, AFloatingBarWhoseMonitorIsGoneIsCentred) {
  Start();
  bar->Settings().FloatLeft = 5000;
  bar->Settings().FloatTop = 100;
  bar->Settings().FloatRight = 5320;
  bar->Settings().FloatBottom = 340;
  bar->SetEdge(abeFloat);
  Stop();
  Start();
  EXPECT_EQ(bar->GetEdge(), abeFloat);
  const Rect r = Win().WindowRect();
  EXPECT_EQ(r.Width(), 320);
  EXPECT_EQ(r.left, (1024 - 320) / 2);
}

TEST_F(BarWindowTest, TheMenusDockTheBarAndMoveButtons) {
  StartOn({{"Uno", "Button"}, {"Due", "Button"}});
  hp.Windows().menuChoices = {"Aggancia/A destra"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(300));  // on the background
  EXPECT_EQ(bar->GetEdge(), abeRight);
  // A right click on the first button opens the button menu.
  bar->SetEdge(abeTop);
  hp.Windows().menuChoices = {"Sposta dopo"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(10) | (intptr_t(5) << 16));
  ASSERT_EQ(bar->ButtonCount(), 2u);
  EXPECT_EQ(bar->Button(0).hint, "Due");
  EXPECT_EQ(hp.Windows().shownMenus.back().entries[0].caption, "Sposta prima");
  // The monitors sub-menu lists the monitor, checked.
  const auto& first = hp.Windows().shownMenus.front().entries;
  const MenuEntry* screens = nullptr;
  for (const MenuEntry& e : first)
    if (e.caption == "Schermo") screens = &e;
  ASSERT_NE(screens, nullptr);
  ASSERT_EQ(screens->children.size(), 1u);
  EXPECT_EQ(screens->children[0].caption, "Display 1 - \\\\.\\DISPLAY1 (1024x768) *");
  EXPECT_TRUE(screens->children[0].checked);
}

TEST_F(BarWindowTest, ClickingAButtonOpensItsPath) {
  StartOn({{"Uno", "Button"}});
  ClickFirstButton(Win());
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], std::string(kLinks) + "Uno.lnk");
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

// A 2 x 2 bitmap file, 24 bits, bottom-up: red, green / blue, white.
std::string TinyBmp() {
  std::string b = "BM";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b.push_back(char(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    b.push_back(char(v));
    b.push_back(char(v >> 8));
  };
  u32(54 + 16);
  u32(0);
  u32(54);
  u32(40);
  u32(2);
  u32(2);
  u16(1);
  u16(24);
  u32(0);
  u32(16);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  // Bottom row first (blue, white), rows padded to four bytes; pixels are B, G, R.
  b += std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);
  b += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
  return b;
}

TEST_F(BarWindowTest, BackgroundColourAndImagePattern) {
  Start();
  TBarSettings& s = program.Settings();
  ASSERT_TRUE(Files().WriteFile("C:\\sfondo.bmp", TinyBmp()));
  s.DrawBackground = true;
  s.BackgroundColor = int32_t(RGB(10, 20, 30));
  s.BackgroundImage = "C:\\sfondo.bmp";
  bar->RebuildBar();
  EXPECT_EQ(bar->BackgroundColor(), RGB(10, 20, 30));
  ASSERT_FALSE(bar->BackgroundBitmap().Empty());
  auto canvas = Canvases().CreateBitmapCanvas(6, 4);
  bar->Paint(*canvas);
  EXPECT_EQ(canvas->GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas->GetPixel(3, 0), RGB(0, 255, 0));  // the pattern repeats
  EXPECT_EQ(canvas->GetPixel(1, 3), RGB(255, 255, 255));
  EXPECT_EQ(canvas->GetPixel(2, 3), RGB(0, 0, 255));
  // The file gone: the next rebuild paints the colour alone.
  Files().DeleteFile("C:\\sfondo.bmp");
  bar->RebuildBar();
  EXPECT_TRUE(bar->BackgroundBitmap().Empty());
  // With glass on, no background is applied at all.
  s.GlassPanel = true;
  s.BackgroundColor = int32_t(RGB(1, 1, 1));
  bar->RebuildBar();
  EXPECT_EQ(bar->BackgroundColor(), RGB(10, 20, 30));
}

TEST_F(BarWindowTest, AFirstStartSpeaksTheUserInterfacesLanguageAndKeepsIt) {
  hp.System().uiLanguage = "en-GB";
  Start();
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "First start");
  EXPECT_EQ(hp.Dialogs().shown[0].text.rfind("Tovira has created the folder of shortcuts: " + std::string(kLinks), 0),
            0u)
      << hp.Dialogs().shown[0].text;
  EXPECT_EQ(program.UserStore().GetString("Interfaccia", "Lingua", ""), "English");
  Stop();
  // Later starts keep the stored choice whatever the system says.
  hp.System().uiLanguage = "it-IT";
  Start();
  EXPECT_EQ(program.Settings().Lingua, "English");
}

TEST_F(BarWindowTest, AButtonWhoseTargetDoesNotOpenIsToldOnceWithTheSystemsReason) {
  StartOn({{"Uno", "Button"}});
  const size_t before = hp.Dialogs().shown.size();
  hp.Shell().unopenable.insert(std::string(kLinks) + "Uno.lnk");
  hp.Shell().openError = "Impossibile trovare il file specificato.";
  ClickFirstButton(Win());
  EXPECT_TRUE(hp.Shell().opened.empty());
  ASSERT_EQ(hp.Dialogs().shown.size(), before + 1);
  EXPECT_EQ(hp.Dialogs().shown.back().text,
            "\"Uno\" non si apre: \"" + std::string(kLinks) + "Uno.lnk\" (Impossibile trovare il file specificato.).");
  // Without the system's words: whether the target is there says why.
  hp.Shell().openError.clear();
  ClickFirstButton(Win());
  ASSERT_EQ(hp.Dialogs().shown.size(), before + 2);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("(non esiste)"), std::string::npos) << hp.Dialogs().shown.back().text;
}

}  // namespace
}  // namespace tov
