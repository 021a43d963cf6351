// Launch-or-switch: the decision from a scripted list of windows (none, one
// minimised, three to cycle through, Shift and Ctrl+Shift), then clicks on
// the headless bar: a running program's window comes forward, repeated
// clicks cycle, the setting turns it off.
#include <gtest/gtest.h>

#include "bar/LaunchSwitch.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const char* const kNotepad = "C:\\Windows\\notepad.exe";

TEST(LaunchSwitch, DecisionsFromTheWindowsThereAre) {
  LaunchRequest r;
  r.program = kNotepad;
  // None running: a new copy.
  EXPECT_EQ(DecideLaunch(r, {{0x10, "C:\\Other\\app.exe", "", false}}, 0).kind, LaunchKind::Open);
  // One, minimised: brought forward (the platform restores it); the path
  // matched without case, or in its short form.
  const std::vector<TopLevelWindow> one = {{0x10, "C:\\Other\\app.exe", "", false},
                                           {0x20, "c:\\windows\\NOTEPAD.EXE", "", true}};
  LaunchDecision d = DecideLaunch(r, one, 0x10);
  EXPECT_EQ(d.kind, LaunchKind::Switch);
  EXPECT_EQ(d.window, 0x20u);
  LaunchRequest shortForm = r;
  shortForm.program = "C:\\PROGRA~1\\Editor\\ED.EXE";
  EXPECT_EQ(
      DecideLaunch(shortForm, {{0x30, "C:\\Program Files\\Editor\\ed.exe", "C:\\PROGRA~1\\Editor\\ED.EXE", false}}, 0)
          .window,
      0x30u);
  // Shift: always a new copy; Ctrl+Shift: as administrator; the setting off
  // or a target that is no program: opened as before.
  LaunchRequest shift = r;
  shift.shift = true;
  EXPECT_EQ(DecideLaunch(shift, one, 0).kind, LaunchKind::Open);
  shift.ctrl = true;
  EXPECT_EQ(DecideLaunch(shift, one, 0).kind, LaunchKind::OpenAsAdmin);
  LaunchRequest off = r;
  off.switchOn = false;
  EXPECT_EQ(DecideLaunch(off, one, 0).kind, LaunchKind::Open);
  LaunchRequest document = r;
  document.program = "C:\\Dati\\lettera.txt";
  EXPECT_EQ(DecideLaunch(document, {{0x40, "C:\\Dati\\lettera.txt", "", false}}, 0).kind, LaunchKind::Open);
  document.program.clear();
  EXPECT_EQ(DecideLaunch(document, one, 0).kind, LaunchKind::Open);
}

TEST(LaunchSwitch, ThreeWindowsComeForwardInTurn) {
  LaunchRequest r;
  r.program = kNotepad;
  std::vector<TopLevelWindow> z = {
      {1, kNotepad, "", false}, {9, "C:\\x.exe", "", false}, {2, kNotepad, "", false}, {3, kNotepad, "", false}};
  // None of them in front: the topmost.
  EXPECT_EQ(DecideLaunch(r, z, 9).window, 1u);
  // Each click brings the lowest one on top, as the system then orders them.
  std::vector<WindowId> order;
  WindowId front = 1;
  for (int click = 0; click < 3; ++click) {
    const WindowId w = DecideLaunch(r, z, front).window;
    order.push_back(w);
    for (size_t i = 0; i < z.size(); ++i)
      if (z[i].id == w) {
        TopLevelWindow moved = z[i];
        z.erase(z.begin() + long(i));
        z.insert(z.begin(), moved);
        break;
      }
    front = w;
  }
  EXPECT_EQ(order, (std::vector<WindowId>{3, 2, 1}));
}

struct LaunchSwitchBarTest : testing::BarFixture {
  LaunchSwitchBarTest() {
    {
      TDataModule scratch;  // gone before the bar starts
      AddButtonRow(scratch.TblLinks, 0, "Blocco note", kNotepad);
      SaveButtonList(scratch.TblLinks, testing::kBarLinks, scratch.SaveFormat);
    }
    Start();
  }
};

TEST_F(LaunchSwitchBarTest, AClickOnARunningProgramBringsItsWindowsForwardInTurn) {
  ASSERT_EQ(bar->ButtonCount(), 1u);
  Click(0);  // nothing running: started
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{kNotepad}));
  hp.Windows().otherWindows = {{0x50, kNotepad, "", true}, {0x60, kNotepad, "", false}};
  Click(0);
  Click(0);
  Click(0);
  EXPECT_EQ(hp.Windows().broughtForward, (std::vector<WindowId>{0x50, 0x60, 0x50}));
  EXPECT_FALSE(hp.Windows().otherWindows[0].minimized);
  EXPECT_EQ(hp.Shell().opened.size(), 1u);
  // Shift: a new copy; Ctrl+Shift: as administrator.
  hp.System().keysDown = {VK_SHIFT};
  Click(0);
  hp.System().keysDown = {VK_SHIFT, VK_CONTROL};
  Click(0);
  hp.System().keysDown.clear();
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{kNotepad, kNotepad, std::string("runas: ") + kNotepad}));
  // The setting off: every click starts one.
  program.Settings().LaunchOrSwitch = false;
  Click(0);
  EXPECT_EQ(hp.Shell().opened.size(), 4u);
  EXPECT_EQ(hp.Windows().broughtForward.size(), 3u);
}

}  // namespace
}  // namespace tov
