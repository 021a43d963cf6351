// The whole bar while the desktop changes under it: monitors that go and
// come back, a new resolution, the shell starting again and the session
// ending with writes that fail.
#include <gtest/gtest.h>

#include "bar/RunningCopy.h"
#include "docking/MonitorList.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostInstances.h"
#include "platform/host/HostMonitorApi.h"
#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const std::string kList = std::string(testing::kBarLinks) + "ButtonList.lob";
const host::MonitorSpec kFirst{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "\\\\.\\DISPLAY1"};
const host::MonitorSpec kSecond{{1024, 0, 2304, 1024}, {1024, 0, 2304, 1024}, false, "\\\\.\\DISPLAY2"};

struct DesktopChangesTest : testing::BarFixture {
  // A first start makes the bar's key; the bar of the next start is tested.
  void StartAgain() {
    Start();
    Stop();
    Start();
  }
  // The notices of a change are handled, then the check runs.
  void Settle() {
    hp.Windows().Pump();
    hp.Windows().AdvanceTime(kScreenCheckDelay);
  }
  // The "Schermo" items, "[x] " before the checked one.
  std::vector<std::string> ScreenItems() {
    std::vector<std::string> out;
    Component& screens = *bar->FormComponent().Find("PopSchermo");
    for (size_t i = 0; i < screens.ChildCount(); ++i)
      out.push_back((screens.Child(i).checked ? "[x] " : "[ ] ") + screens.Child(i).caption);
    return out;
  }
  std::string ListBytes() {
    std::string bytes;
    Files().ReadFile(kList, &bytes);
    return bytes;
  }
  // "Sposta dopo" on the first button, wherever the bar stands.
  void MoveFirstButtonAfter() {
    const Rect b = bar->Button(0).BoundsRect();
    const int x = (b.left + b.right) / 2, y = (b.top + b.bottom) / 2;
    hp.Windows().menuChoices = {"Sposta dopo"};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(x) | (intptr_t(y) << 16));
  }
  TAppBarSettings Record() {
    RegValue v;
    EXPECT_TRUE(Registry().ReadValue(bar->KeyName(), "", &v));
    return v.data.size() == kAppBarSettingsSize ? UnpackAppBarSettings(v.data.data()) : TAppBarSettings{};
  }
};

TEST_F(DesktopChangesTest, AMonitorThatGoesSendsTheBarToThePrimaryAndItComesBackByName) {
  hp.SetMonitors({kFirst, kSecond});
  StartAgain();
  bar->PopSelectMonitorClick(*bar->FormComponent().Find("PopMonitor_2"));
  const int h = Win().WindowRect().Height();
  EXPECT_EQ(Win().WindowRect(), (Rect{1024, 0, 2304, h}));
  EXPECT_EQ(bar->ScreenDevice(), "\\\\.\\DISPLAY2");

  hp.ChangeDisplays({kFirst});
  Settle();
  EXPECT_EQ(bar->ScreenIndex(), 0);
  EXPECT_EQ(Win().WindowRect(), (Rect{0, 0, 1024, h}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, h, 1024, 738}));
  EXPECT_EQ(ScreenItems(), (std::vector<std::string>{"[x] Display 1 - \\\\.\\DISPLAY1 (1024x768) *"}));

  // It comes back, enumerated first now: found by its name, not its index.
  hp.ChangeDisplays({kSecond, kFirst});
  Settle();
  EXPECT_EQ(bar->ScreenIndex(), 0);
  EXPECT_EQ(Win().WindowRect(), (Rect{1024, 0, 2304, h}));
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 0, 1024, 738}));
  EXPECT_EQ(ScreenItems(), (std::vector<std::string>{"[x] Display 1 - \\\\.\\DISPLAY2 (1280x1024) ",
                                                     "[ ] Display 2 - \\\\.\\DISPLAY1 (1024x768) *"}));

  // The next starts look for it by name too, and wait for it on the primary.
  Stop();
  hp.SetMonitors({kFirst, kSecond});
  Start();
  EXPECT_EQ(bar->ScreenIndex(), 1);
  Stop();
  hp.SetMonitors({kFirst});
  Start();
  EXPECT_EQ(bar->ScreenIndex(), 0);
  EXPECT_EQ(bar->ScreenDevice(), "\\\\.\\DISPLAY2");
  // Chosen from the menu, the primary is the bar's monitor from then on.
  bar->PopSelectMonitorClick(*bar->FormComponent().Find("PopMonitor_1"));
  hp.ChangeDisplays({kSecond, kFirst});
  Settle();
  EXPECT_EQ(bar->ScreenIndex(), 1);
  EXPECT_EQ(Win().WindowRect().left, 0);
}

TEST_F(DesktopChangesTest, ANewResolutionIsOneReDockWhateverTheNumberOfNotices) {
  StartAgain();
  const int enumerations = hp.Monitors().enumerations;
  hp.ChangeDisplays({{{0, 0, 1600, 900}, {0, 0, 1600, 860}, true, "\\\\.\\DISPLAY1"}});
  for (int i = 0; i < 9; ++i) {
    Win().Send(i % 2 ? WM_SETTINGCHANGE : WM_DEVICECHANGE, i % 2 ? SPI_SETWORKAREA : DBT_DEVNODES_CHANGED);
    hp.Windows().AdvanceTime(kScreenCheckDelay / 3);
  }
  EXPECT_EQ(hp.Monitors().enumerations, enumerations);
  EXPECT_EQ(Win().WindowRect().Width(), 1024);
  hp.Windows().AdvanceTime(kScreenCheckDelay);
  EXPECT_EQ(hp.Monitors().enumerations, enumerations + 1);
  EXPECT_EQ(Win().WindowRect().Width(), 1600);
  EXPECT_EQ(bar->Settings().MaxVertDockSize, 900);
  EXPECT_EQ(ScreenItems(), (std::vector<std::string>{"[x] Display 1 - \\\\.\\DISPLAY1 (1600x900) *"}));
}

TEST_F(DesktopChangesTest, AfterTheShellRestartsTheBarIsRegisteredAndInPlace) {
  StartAgain();
  bar->SetEdge(abeBottom);
  const Rect place = Win().WindowRect();
  hp.RestartShell();
  hp.Windows().Pump();
  ASSERT_EQ(hp.Shell().Bars().count(bar->Handle()), 1u);
  EXPECT_TRUE(hp.Shell().Bars().at(bar->Handle()).reserved);
  EXPECT_EQ(Win().WindowRect(), place);
  EXPECT_EQ(hp.Shell().PrimaryWorkArea().bottom, place.top);
}

TEST_F(DesktopChangesTest, TheEndOfTheSessionWritesWhatIsPendingAndNeverHalfAFile) {
  StartOn({{"Uno", "Button"}, {"Due", "Button"}});
  bar->PopDockClick(abeLeft);
  const std::string saved = ListBytes();
  hp.Dialogs().shown.clear();
  // A move whose save fails: the bar shows the new order, the file keeps the old.
  hp.Files().FailWriteAfter(1, 5);
  MoveFirstButtonAfter();
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Due", "Uno"}));
  EXPECT_EQ(ListBytes(), saved);
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);

  // The session ends and that write fails again: the old file stays whole,
  // nothing is asked, and the docking record is written all the same.
  hp.Files().FailWriteAfter(1, 5);
  EXPECT_EQ(Win().Send(WM_QUERYENDSESSION), 1);
  Win().Send(WM_ENDSESSION, 1);
  EXPECT_EQ(ListBytes(), saved);
  EXPECT_FALSE(Files().FileExists(kList + ".tmp"));
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(Record().Edge, abeLeft);
  EXPECT_EQ(hp.Shell().Bars().count(bar->Handle()), 0u);
  EXPECT_EQ(hp.Instances().claimed.count(CopyClaimName(Files().ExePath())), 0u);

  // Once more, the session's write succeeding: the pending order is saved.
  Stop();
  Start();
  EXPECT_EQ(bar->GetEdge(), abeLeft);
  bar->PopDockClick(abeBottom);
  const std::string before = ListBytes();
  hp.Files().FailWriteAfter(1, 5);
  MoveFirstButtonAfter();
  const std::vector<std::string> moved = Hints();
  EXPECT_EQ(ListBytes(), before);
  EXPECT_EQ(Record().Edge, abeLeft);  // written when the bar closes, or the session ends
  Win().Send(WM_QUERYENDSESSION);
  Win().Send(WM_ENDSESSION, 1);
  EXPECT_EQ(Record().Edge, abeBottom);
  EXPECT_NE(ListBytes(), before);
  Stop();
  Start();
  EXPECT_EQ(Hints(), moved);
  EXPECT_EQ(bar->GetEdge(), abeBottom);
}

}  // namespace
}  // namespace tov
