// One bar per copy of the program: a second start of the same executable
// brings the running bar forward and ends before it makes anything; copies
// in other folders run beside it.
#include <gtest/gtest.h>

#include "bar/Program.h"
#include "bar/RunningCopy.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostInstances.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

TEST(RunningCopy, NamesFollowThePathAsWindowsComparesIt) {
  const std::string name = CopyClaimName("C:\\Uno\\tovira.exe");
  // SHA-1 of "C:\UNO\TOVIRA.EXE"; no backslash but the namespace's.
  EXPECT_EQ(name, "Local\\Brenvoll.Tovira.a1900674948fefa10f5813a5c3d1014c7f5f540b");
  EXPECT_EQ(CopyClaimName("c:\\UNO\\Tovira.EXE"), name);
  EXPECT_EQ(CopyClaimName("C:/Uno/tovira.exe"), name);
  EXPECT_NE(CopyClaimName("C:\\Due\\tovira.exe"), name);
  EXPECT_NE(CopyClaimName("C:\\Uno\\tovira2.exe"), name);
  // Accented letters of the ANSI code page fold as well (à and À).
  EXPECT_EQ(CopyClaimName("C:\\Citt\u00E0\\tovira.exe"), CopyClaimName("C:\\CITT\u00C0\\TOVIRA.EXE"));
  EXPECT_NE(CopyWakeMessageName("C:\\Uno\\tovira.exe"), CopyWakeMessageName("C:\\Due\\tovira.exe"));
  EXPECT_EQ(CopyWakeMessageName("C:\\Uno\\tovira.exe").find('\\'), std::string::npos);
}

struct RunningCopyTest : testing::BarFixture {
  RunningCopyTest() {
    Start();  // the first start makes the bar's key and ends
    Stop();
  }
  host::HostInstances& Instances() { return hp.Instances(); }
};

TEST_F(RunningCopyTest, SecondStartOfACopyBringsTheRunningBarForwardAndEnds) {
  Start();
  // The running bar hides at its edge and something else is active.
  bar->SetAutoHide(true);
  bar->UpdateBar();
  bar->ShowHiddenAppBar(false);
  hp.Windows().SetActive(0);
  ASSERT_FALSE(bar->AutoHideIsVisible());
  const Rect hidden = Win().WindowRect();
  ASSERT_LT(hidden.top, 0);
  const size_t windows = hp.Windows().WindowCount();
  const size_t boxes = hp.Dialogs().shown.size();
  TDataModule* const dataModule = dc.get();

  testing::HeadlessBar second{hp};
  EXPECT_FALSE(second.TryStart());
  // Nothing of its own: no window, no application bar, no data module, no box.
  EXPECT_EQ(second.bar, nullptr);
  EXPECT_EQ(second.dc, nullptr);
  EXPECT_EQ(hp.Windows().WindowCount(), windows);
  EXPECT_EQ(hp.Shell().Bars().size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown.size(), boxes);
  EXPECT_EQ(dc.get(), dataModule);
  // The running bar came forward: slid out, activated, allowed to the foreground.
  EXPECT_EQ(Instances().foregroundAllowances, 1);
  EXPECT_TRUE(bar->AutoHideIsVisible());
  EXPECT_EQ(Win().WindowRect().top, 0);
  EXPECT_EQ(hp.Windows().ActiveWindow(), bar->Handle());
  EXPECT_EQ(Win().foregroundRequests, 1);
  EXPECT_TRUE(Win().IsVisible());
  // Active, it stays out when the autohide timer looks.
  hp.System().cursor = Point{600, 500};
  hp.Windows().AdvanceTime(2000);
  EXPECT_TRUE(bar->AutoHideIsVisible());
  // The bar still runs as before, and the claim is still its own.
  EXPECT_EQ(Instances().claimed.count(CopyClaimName("C:\\Uno\\tovira.exe")), 1u);
}

TEST_F(RunningCopyTest, TheSamePathInOtherLettersIsTheSameCopy) {
  Start();
  hp.Files().SetExePath("c:\\uno\\TOVIRA.EXE");
  testing::HeadlessBar second{hp};
  EXPECT_FALSE(second.TryStart());
  EXPECT_EQ(Win().foregroundRequests, 1);
}

TEST_F(RunningCopyTest, ACopyInAnotherFolderRunsBesideAndTheClaimEndsWithTheBar) {
  Start();
  Registry().CreateKey(BarKeyName(1));  // a normal start of the other copy
  hp.Files().SetExePath("C:\\Due\\tovira.exe");
  testing::HeadlessBar other{hp};
  ASSERT_TRUE(other.TryStart());
  EXPECT_EQ(other.bar->BarInstanceIndex(), 1);
  EXPECT_NE(other.bar->WakeMessage(), bar->WakeMessage());
  EXPECT_EQ(Instances().claimed.size(), 2u);
  // A second start of the first copy wakes its bar only.
  hp.Files().SetExePath("C:\\Uno\\tovira.exe");
  testing::HeadlessBar again{hp};
  EXPECT_FALSE(again.TryStart());
  EXPECT_EQ(Win().foregroundRequests, 1);
  EXPECT_EQ(hp.Windows().Find(other.bar->Handle())->foregroundRequests, 0);
  other.Stop();
  EXPECT_EQ(Instances().claimed.size(), 1u);
  // Once the bar has ended, the copy starts again.
  Stop();
  EXPECT_TRUE(Instances().claimed.empty());
  EXPECT_TRUE(again.TryStart());
  EXPECT_EQ(again.bar->BarInstanceIndex(), 0);
  again.Stop();
}

TEST_F(RunningCopyTest, AClaimTheSystemCannotAnswerStillStartsTheBar) {
  Instances().failing.insert(CopyClaimName("C:\\Uno\\tovira.exe"));
  Start();
  EXPECT_TRUE(Win().IsVisible());
  EXPECT_EQ(Instances().broadcasts, 0);
  Stop();
}

TEST_F(RunningCopyTest, TheEntryPointEndsAtOnceWhenItsCopyRuns) {
  Start();
  hp.Windows().SetActive(0);
  const size_t windows = hp.Windows().WindowCount();
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(hp.Windows().WindowCount(), windows);
  EXPECT_EQ(hp.Shell().Bars().size(), 1u);
  EXPECT_EQ(Instances().broadcasts, 1);
  hp.Windows().Pump();  // the running bar's own message loop
  EXPECT_EQ(hp.Windows().ActiveWindow(), bar->Handle());
  Stop();
  // Alone, the entry runs its bar to the end and gives the claim back.
  PrepareButtons({{"Uno", "Button"}});
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(Instances().claimed.empty());
}

}  // namespace
}  // namespace tov
