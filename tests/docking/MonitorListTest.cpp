// The monitor list as the program sees it at start-up and after the
// displays changed.
#include <gtest/gtest.h>

#include <stdexcept>

#include "docking/MonitorList.h"
#include "platform/host/HostMonitorApi.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

struct MonitorListTest : ::testing::Test {
  ~MonitorListTest() override { FreeMonitors(); }
  host::HostPlatform hp;
};

TEST_F(MonitorListTest, OneMonitorIsThePrimaryWithNumberOne) {
  hp.SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}});
  LoadMonitors();
  ASSERT_EQ(MonitorCount(), 1);
  const TMonitorInfo* m = MonitorAt(0);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->Primary);
  EXPECT_EQ(m->Number, 1);
  EXPECT_EQ(m->WorkRect, (Rect{0, 0, 1920, 1040}));
  EXPECT_EQ(MonitorAt(1), nullptr);
  EXPECT_EQ(MonitorAt(-1), nullptr);
  EXPECT_EQ(MonitorLabel(*m), "\\\\.\\DISPLAY1 (1920x1080) *");
}

TEST_F(MonitorListTest, ThreeMonitorsInEnumerationOrderAndNoLaterChanges) {
  hp.SetMonitors({{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY2"},
                  {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"},
                  {{1920, 0, 3200, 720}, {1920, 0, 3200, 720}, false, "\\\\.\\DISPLAY3"}});
  LoadMonitors();
  ASSERT_EQ(MonitorCount(), 3);
  EXPECT_EQ(MonitorAt(0)->Number, 1);
  EXPECT_FALSE(MonitorAt(0)->Primary);
  EXPECT_TRUE(MonitorAt(1)->Primary);
  EXPECT_EQ(MonitorAt(2)->Number, 3);
  EXPECT_EQ(MonitorLabel(*MonitorAt(2)), "\\\\.\\DISPLAY3 (1280x720) ");
  // A monitor plugged in later is not seen until the next start.
  hp.SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 600}, true, "X"}});
  EXPECT_EQ(MonitorCount(), 3);
  EXPECT_EQ(MonitorAt(1)->MonitorRect, (Rect{0, 0, 1920, 1080}));
}

TEST_F(MonitorListTest, MissingLibraryOrFunctionsRaiseTheirMessages) {
  hp.Monitors().missing = {"EnumDisplayMonitors"};
  try {
    LoadMonitors();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "Impossibile trovare la funzione di esportazione.\nFunzione 'EnumDisplayMonitors' non trovata");
  }
  EXPECT_EQ(MonitorCount(), 0);
  hp.Monitors().missing = {"GetMonitorInfoA"};
  try {
    LoadMonitors();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Impossibile trovare la funzione di esportazione.\nFunzione 'GetMonitorInfo' non trovata");
  }
  FreeMonitors();
  EXPECT_FALSE(hp.Monitors().loaded);
  hp.Monitors().missing.clear();
  hp.Monitors().libraryPresent = false;
  EXPECT_THROW(LoadMonitors(), std::runtime_error);
  EXPECT_EQ(MonitorCount(), 0);
}

TEST_F(MonitorListTest, ARefreshSeesTheNewLayoutAndKeepsTheOldOneWhenTheSystemCannotAnswer) {
  hp.SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"},
                  {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, "\\\\.\\DISPLAY2"}});
  LoadMonitors();
  EXPECT_EQ(FindMonitor("\\\\.\\DISPLAY2"), 1);
  EXPECT_EQ(MonitorFor("\\\\.\\DISPLAY2"), 1);
  // The second monitor goes, and the primary is enumerated second.
  hp.SetMonitors({{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY3"},
                  {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}});
  EXPECT_TRUE(RefreshMonitors());
  ASSERT_EQ(MonitorCount(), 2);
  EXPECT_EQ(FindMonitor("\\\\.\\DISPLAY2"), -1);
  EXPECT_EQ(FindMonitor(""), -1);
  EXPECT_EQ(MonitorFor("\\\\.\\DISPLAY2"), 1);  // the primary
  EXPECT_EQ(MonitorFor("\\\\.\\DISPLAY3"), 0);
  // The system cannot answer: the list stays as it was.
  hp.Monitors().missing = {"GetMonitorInfoA"};
  EXPECT_FALSE(RefreshMonitors());
  hp.Monitors().missing.clear();
  ASSERT_EQ(MonitorCount(), 2);
  EXPECT_EQ(MonitorAt(0)->DeviceName, "\\\\.\\DISPLAY3");
  hp.Monitors().libraryPresent = false;
  EXPECT_FALSE(RefreshMonitors());
  EXPECT_EQ(MonitorCount(), 2);
  hp.Monitors().libraryPresent = true;
  EXPECT_TRUE(RefreshMonitors());
  EXPECT_TRUE(hp.Monitors().loaded);
  // With no primary flag anywhere, the first monitor stands in.
  hp.SetMonitors(
      {{{0, 0, 800, 600}, {0, 0, 800, 600}, false, "A"}, {{800, 0, 1600, 600}, {800, 0, 1600, 600}, false, "B"}});
  EXPECT_TRUE(RefreshMonitors());
  EXPECT_EQ(MonitorFor("gone"), 0);
  FreeMonitors();
  EXPECT_EQ(MonitorFor("A"), -1);
}

}  // namespace
}  // namespace tov
