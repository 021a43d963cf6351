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
  host::HostPlatform hp;
  TMonitorList list;  // gone before the platform
};

TEST_F(MonitorListTest, OneMonitorIsThePrimaryWithNumberOne) {
  hp.SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}});
  list.Load();
  ASSERT_EQ(list.Count(), 1);
  const TMonitorInfo* m = list.At(0);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->Primary);
  EXPECT_EQ(m->Number, 1);
  EXPECT_EQ(m->WorkRect, (Rect{0, 0, 1920, 1040}));
  EXPECT_EQ(list.At(1), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);
  EXPECT_EQ(MonitorLabel(*m), "\\\\.\\DISPLAY1 (1920x1080) *");
}

TEST_F(MonitorListTest, ThreeMonitorsInEnumerationOrderAndNoLaterChanges) {
  hp.SetMonitors({{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY2"},
                  {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"},
                  {{1920, 0, 3200, 720}, {1920, 0, 3200, 720}, false, "\\\\.\\DISPLAY3"}});
  list.Load();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.At(0)->Number, 1);
  EXPECT_FALSE(list.At(0)->Primary);
  EXPECT_TRUE(list.At(1)->Primary);
  EXPECT_EQ(list.At(2)->Number, 3);
  EXPECT_EQ(MonitorLabel(*list.At(2)), "\\\\.\\DISPLAY3 (1280x720) ");
  // A monitor plugged in later is not seen until the next start.
  hp.SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 600}, true, "X"}});
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.At(1)->MonitorRect, (Rect{0, 0, 1920, 1080}));
}

TEST_F(MonitorListTest, MissingLibraryOrFunctionsRaiseTheirMessages) {
  hp.Monitors().missing = {"EnumDisplayMonitors"};
  try {
    list.Load();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "Impossibile trovare la funzione di esportazione.\nFunzione 'EnumDisplayMonitors' non trovata");
  }
  EXPECT_EQ(list.Count(), 0);
  hp.Monitors().missing = {"GetMonitorInfoA"};
  try {
    list.Load();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Impossibile trovare la funzione di esportazione.\nFunzione 'GetMonitorInfo' non trovata");
  }
  list.Free();
  EXPECT_FALSE(hp.Monitors().loaded);
  hp.Monitors().missing.clear();
  hp.Monitors().libraryPresent = false;
  EXPECT_THROW(list.Load(), std::runtime_error);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(MonitorListTest, ARefreshSeesTheNewLayoutAndKeepsTheOldOneWhenTheSystemCannotAnswer) {
  hp.SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"},
                  {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, "\\\\.\\DISPLAY2"}});
  list.Load();
  EXPECT_EQ(list.Find("\\\\.\\DISPLAY2"), 1);
  EXPECT_EQ(list.For("\\\\.\\DISPLAY2"), 1);
  // The second monitor goes, and the primary is enumerated second.
  hp.SetMonitors({{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY3"},
                  {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}});
  EXPECT_TRUE(list.Refresh());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Find("\\\\.\\DISPLAY2"), -1);
  EXPECT_EQ(list.Find(""), -1);
  EXPECT_EQ(list.For("\\\\.\\DISPLAY2"), 1);  // the primary
  EXPECT_EQ(list.For("\\\\.\\DISPLAY3"), 0);
  // The system cannot answer: the list stays as it was.
  hp.Monitors().missing = {"GetMonitorInfoA"};
  EXPECT_FALSE(list.Refresh());
  hp.Monitors().missing.clear();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At(0)->DeviceName, "\\\\.\\DISPLAY3");
  hp.Monitors().libraryPresent = false;
  EXPECT_FALSE(list.Refresh());
  EXPECT_EQ(list.Count(), 2);
  hp.Monitors().libraryPresent = true;
  EXPECT_TRUE(list.Refresh());
  EXPECT_TRUE(hp.Monitors().loaded);
  // With no primary flag anywhere, the first monitor stands in.
  hp.SetMonitors(
      {{{0, 0, 800, 600}, {0, 0, 800, 600}, false, "A"}, {{800, 0, 1600, 600}, {800, 0, 1600, 600}, false, "B"}});
  EXPECT_TRUE(list.Refresh());
  EXPECT_EQ(list.For("gone"), 0);
  list.Free();
  EXPECT_EQ(list.For("A"), -1);
}

TEST_F(MonitorListTest, AListReleasesTheLibraryWhenItGoesAndTwoListsDoNotShareRecords) {
  hp.SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}});
  {
    TMonitorList other;
    other.Load();
    EXPECT_TRUE(hp.Monitors().loaded);
    EXPECT_EQ(other.Count(), 1);
    EXPECT_EQ(list.Count(), 0);  // a list is loaded only by its holder
  }
  EXPECT_FALSE(hp.Monitors().loaded);
  EXPECT_EQ(list.At(0), nullptr);
}

}  // namespace
}  // namespace tov
