// The running mark: which buttons' programs have a window (a shortcut's
// target read once, short image paths, buttons that start no program), then
// on the headless bar: no timer while the setting is off, a mark painted
// under the running program's button within a second, none looked for
// while the bar is hidden, and gone when the program closes.
#include <gtest/gtest.h>

#include "bar/RunningMarks.h"
#include "controls/HighContrast.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostSystem.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const char* const kNotepad = "C:\\Windows\\notepad.exe";
const char* const kPaint = "C:\\Windows\\mspaint.exe";

TEST(RunningMarks, ButtonsWhoseProgramsHaveAWindow) {
  TRunningMarks marks;
  int reads = 0;
  const auto resolve = [&](const std::string& path) {
    ++reads;
    return path == "C:\\Links\\Paint.lnk" ? std::string(kPaint) : std::string();
  };
  std::vector<std::string> programs = {
      marks.ProgramOf(kNotepad, resolve), marks.ProgramOf("C:\\Links\\Paint.lnk", resolve),
      marks.ProgramOf("C:\\Documenti\\lettera.txt", resolve), marks.ProgramOf("", resolve)};
  EXPECT_EQ(programs, (std::vector<std::string>{kNotepad, kPaint, "", ""}));
  marks.ProgramOf("C:\\Links\\Paint.lnk", resolve);
  EXPECT_EQ(reads, 2);  // each shortcut read once, a program's path never

  EXPECT_TRUE(marks.Update(programs, {{0x10, "c:\\windows\\MSPAINT.EXE", "", true}}));
  EXPECT_FALSE(marks.Running(0));
  EXPECT_TRUE(marks.Running(1));  // minimised counts: the program runs
  EXPECT_FALSE(marks.Running(2));
  EXPECT_FALSE(marks.Update(programs, {{0x11, "", "C:\\WINDOWS\\MSPAINT.EXE", false}}));  // the short form, unchanged
  EXPECT_TRUE(marks.Update(programs, {}));
  EXPECT_FALSE(marks.Running(1));
  EXPECT_FALSE(marks.Running(7));

  marks.Update(programs, {{0x10, kNotepad, "", false}});
  EXPECT_TRUE(marks.Clear());
  EXPECT_FALSE(marks.Running(0));
  EXPECT_FALSE(marks.Clear());
  marks.ProgramOf("C:\\Links\\Paint.lnk", resolve);
  EXPECT_EQ(reads, 3);  // read again after Clear
}

TEST(RunningMarks, TheMarkSitsCentredAtTheButtonsFoot) {
  const Rect m = RunningMarkRect(Rect{10, 0, 100, 22}, 2);
  EXPECT_EQ(m, (Rect{40, 19, 70, 21}));
  EXPECT_EQ(RunningMarkRect(Rect{0, 0, 6, 22}, 3).Width(), 4);  // never thinner than 4 pixels
}

constexpr Color kMark = RGB(0, 120, 7);

struct RunningBarTest : testing::BarFixture {
  RunningBarTest() {
    {
      TDataModule scratch;
      AddButtonRow(scratch.TblLinks, 0, "Blocco note", kNotepad);
      AddButtonRow(scratch.TblLinks, 1, "Paint", kPaint);
      SaveButtonList(scratch.TblLinks, testing::kBarLinks, scratch.SaveFormat);
    }
    Start();
    hp.Canvases().SetSysColor(13, kMark);  // COLOR_HIGHLIGHT
  }
  bool MarkUnder(size_t i) {
    auto canvas = Canvases().CreateBitmapCanvas(bar->ClientSize().cx, bar->ClientSize().cy);
    bar->Paint(*canvas);
    const Bitmap b = canvas->ToBitmap();
    const Rect m = RunningMarkRect(bar->Button(i).BoundsRect(), 2);
    return b.At((m.left + m.right) / 2, m.top) == kMark;
  }
  bool TimerRuns() { return Win().timers.count(kRunningTimerId) > 0; }
};

TEST_F(RunningBarTest, MarksFollowTheWindowsOnceASecondWhileTheBarIsSeen) {
  hp.Windows().otherWindows = {{0x50, kNotepad, "", false}};
  // Off (as it starts): no timer, no mark.
  EXPECT_FALSE(TimerRuns());
  hp.Windows().AdvanceTime(3000);
  EXPECT_FALSE(MarkUnder(0));

  // On: the mark at once, under the running program's button only.
  program.Settings().ShowRunning = true;
  bar->RebuildBar();
  EXPECT_TRUE(TimerRuns());
  EXPECT_EQ(Win().timers[kRunningTimerId].interval, kRunningIntervalMs);
  EXPECT_TRUE(MarkUnder(0));
  EXPECT_FALSE(MarkUnder(1));

  // Paint starts, Notepad closes: within a second the marks follow.
  hp.Windows().otherWindows = {{0x60, kPaint, "", false}};
  hp.Windows().AdvanceTime(kRunningIntervalMs);
  EXPECT_FALSE(MarkUnder(0));
  EXPECT_TRUE(MarkUnder(1));

  // Hidden, the bar does not look: a change shows once it is seen again.
  bar->Window().Show(false);
  hp.Windows().otherWindows = {{0x50, kNotepad, "", false}};
  hp.Windows().AdvanceTime(3 * kRunningIntervalMs);
  EXPECT_TRUE(MarkUnder(1));
  bar->Window().Show(true);
  hp.Windows().AdvanceTime(kRunningIntervalMs);
  EXPECT_TRUE(MarkUnder(0));
  EXPECT_FALSE(MarkUnder(1));

  // Off again: the timer stops and the marks go.
  program.Settings().ShowRunning = false;
  bar->RebuildBar();
  EXPECT_FALSE(TimerRuns());
  EXPECT_FALSE(MarkUnder(0));
}

}  // namespace
}  // namespace tov
