// The day's log: its name, entries with one time for a batch, CR LF endings,
// appending across objects, the name fixed at construction.
#include <gtest/gtest.h>

#include "files/Log.h"
#include "platform/Platform.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"

namespace tov {
namespace {

// A clock that moves on a second at every reading, so a batch that read it
// more than once would show different times.
struct RunningClock : host::HostSystem {
  DateTime Now() override {
    const DateTime t = now;
    if (++now.second == 60) {
      now.second = 0;
      ++now.minute;
    }
    return t;
  }
};

struct LogTest : ::testing::Test {
  std::string Read(const std::string& path) {
    std::string b;
    Files().ReadFile(path, &b);
    return b;
  }
  host::HostPlatform hp;
};

TEST_F(LogTest, EntriesAreAppendedWithOneTimeForABatch) {
  hp.System().now = DateTime{2012, 2, 27, 9, 5, 7, 0};
  TLog log("C:\\Dati\\Debug");
  EXPECT_EQ(log.FileName(), "C:\\Dati\\Debug\\Log_2012_2_27.log");
  EXPECT_FALSE(Files().FileExists(log.FileName()));  // not touched yet
  ASSERT_TRUE(log.AddLines({"uno", "due", "tre", "quattro", "cinque"}));
  ASSERT_TRUE(log.AddLines({"sei"}));  // the same second: the same time
  hp.System().now.second = 9;
  ASSERT_TRUE(log.AddLine("riga 1\r\nriga 2"));
  // Another log of the same day appends to the same file.
  ASSERT_TRUE(TLog("C:\\Dati\\Debug\\").AddLine("altro"));
  const std::string first = System().FormatShortDate(DateTime{2012, 2, 27, 9, 5, 7, 0}) + " " +
                            System().FormatTime(DateTime{2012, 2, 27, 9, 5, 7, 0}) + ": ";
  const std::string later =
      System().FormatShortDate(hp.System().now) + " " + System().FormatTime(hp.System().now) + ": ";
  EXPECT_EQ(Read(log.FileName()), first + "uno\r\n" + first + "due\r\n" + first + "tre\r\n" + first + "quattro\r\n" +
                                      first + "cinque\r\n" + first + "sei\r\n" + later + "riga 1\r\nriga 2\r\n" +
                                      later + "altro\r\n");
}

TEST_F(LogTest, ABatchReadsTheClockOnce) {
  TLog log("C:\\Debug");
  RunningClock clock;
  clock.now = DateTime{2026, 3, 4, 5, 6, 7, 0};
  Platform running = Sys();
  running.system = &clock;
  Platform* previous = InstallPlatform(&running);
  const bool written = log.AddLines({"a", "b", "c", "d", "e"});
  InstallPlatform(previous);
  ASSERT_TRUE(written);
  const std::string stamp = System().FormatShortDate(DateTime{2026, 3, 4, 5, 6, 7, 0}) + " " +
                            System().FormatTime(DateTime{2026, 3, 4, 5, 6, 7, 0}) + ": ";
  EXPECT_EQ(Read(log.FileName()),
            stamp + "a\r\n" + stamp + "b\r\n" + stamp + "c\r\n" + stamp + "d\r\n" + stamp + "e\r\n");
}

TEST_F(LogTest, TheNameIsFixedAtConstructionAndMidnightHasNoTime) {
  hp.System().now = DateTime{2026, 12, 31, 23, 59, 59, 0};
  TLog log("C:\\Debug");
  hp.System().now = DateTime{2027, 1, 1, 0, 0, 0, 0};
  ASSERT_TRUE(log.AddLine("dopo mezzanotte"));
  EXPECT_EQ(log.FileName(), "C:\\Debug\\Log_2026_12_31.log");
  EXPECT_EQ(Read(log.FileName()), System().FormatShortDate(hp.System().now) + ": dopo mezzanotte\r\n");
  EXPECT_EQ(TLog("C:\\Debug").FileName(), "C:\\Debug\\Log_2027_1_1.log");
}

TEST_F(LogTest, AFolderThatCannotBeMadeThrowsAndAFileThatCannotBeWrittenLosesTheEntry) {
  EXPECT_THROW(TLog(""), std::runtime_error);
  hp.Files().SetReadOnlyFolder("C:\\Chiusa\\");
  EXPECT_THROW(TLog("C:\\Chiusa\\Debug"), std::runtime_error);
  TLog log("C:\\Debug");
  hp.Files().LockFile(log.FileName());
  EXPECT_FALSE(log.AddLine("persa"));
}

}  // namespace
}  // namespace tov
