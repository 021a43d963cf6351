// The folder menus' icons: known ones answered at once, unknown ones asked
// of the shell once (away from the caller) while the menu shows a
// placeholder, kinds of file sharing one icon, and the icon cache shared
// with the buttons: each sees the other's icons, and a later start reads
// them back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "controls/IconCache.h"
#include "controls/IconLoader.h"
#include "controls/MenuIconSource.h"
#include "controls/SharedIconCache.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"

namespace tov {
namespace {

using State = IMenuPictures::State;
const char* const kCache = "C:\\Dati\\IconCache.bin";

struct MenuIconSourceTest : ::testing::Test {
  MenuIconSourceTest() {
    EXPECT_TRUE(Files().CreateDir("C:\\Dati"));
    for (const char* name : {"uno.txt", "due.txt", "tre.exe"})
      EXPECT_TRUE(Files().WriteFile(std::string("C:\\Dati\\") + name, "x"));
  }
  // Asks, and answers the picture's side (0 for none).
  State Ask(TMenuIconSource& source, const std::string& path, int kind, int pixels, int* side = nullptr) {
    const Picture* p = nullptr;
    const State s = source.Find(path, kind, pixels, &p);
    EXPECT_EQ(p != nullptr, s == State::Ready) << path;
    if (side) *side = p ? p->rgb.width : 0;
    return s;
  }
  size_t ShellAsked() { return std::exchange(hp.Shell().iconPictures, {}).size(); }
  host::HostPlatform hp;
  TSharedIconCache memory{""};  // kept in memory only
};

TEST_F(MenuIconSourceTest, AnUnknownIconIsFetchedOnceThenKnownAndKindsShareIt) {
  TMenuIconSource source(memory, false);
  const int text = FileIconKind("MENUTEST.txt");
  // Drawn three times before it comes: a placeholder each time, one fetch.
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", text, 24), State::NotYet);
  EXPECT_EQ(ShellAsked(), 0u);  // nothing asked on the caller's side
  const uint64_t before = source.Arrivals();
  source.FetchWaiting();
  EXPECT_GT(source.Arrivals(), before);
  EXPECT_EQ(hp.Shell().iconPictures, std::vector<std::string>{"C:\\Dati\\uno.txt@24"});
  ShellAsked();
  int side = 0;
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", text, 24, &side), State::Ready);
  EXPECT_EQ(side, 24);  // the size asked, exactly
  // Another file of the kind: the same icon, with no fetch.
  EXPECT_EQ(Ask(source, "C:\\Dati\\due.txt", text, 24), State::Ready);
  // Another size, or a file of its own: fetched anew.
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", text, 16), State::NotYet);
  EXPECT_EQ(Ask(source, "C:\\Dati\\tre.exe", -1, 24), State::NotYet);
  // A folder named with its backslash is the folder.
  EXPECT_EQ(Ask(source, "C:\\Dati\\", -1, 24), State::NotYet);
  source.FetchWaiting();
  EXPECT_EQ(ShellAsked(), 3u);
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", text, 16, &side), State::Ready);
  EXPECT_EQ(side, 16);
  EXPECT_EQ(Ask(source, "C:\\Dati\\", -1, 24), State::Ready);
}

TEST_F(MenuIconSourceTest, FilesWithoutAnIconShowNoneAndAClosedMenuDropsWhatItAsked) {
  TMenuIconSource source(memory, false);
  hp.Shell().iconless.insert("C:\\Dati\\tre.exe");
  EXPECT_EQ(Ask(source, "C:\\Dati\\manca.txt", -1, 16), State::NotYet);
  EXPECT_EQ(Ask(source, "C:\\Dati\\tre.exe", -1, 16), State::NotYet);
  EXPECT_EQ(Ask(source, "", -1, 16), State::None);
  source.FetchWaiting();
  EXPECT_EQ(Ask(source, "C:\\Dati\\manca.txt", -1, 16), State::None);
  EXPECT_EQ(Ask(source, "C:\\Dati\\tre.exe", -1, 16), State::None);
  ShellAsked();
  // Asked, then the menu closes before the fetch: nothing is fetched, and
  // the next menu asks again.
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
  source.MenuClosed();
  source.FetchWaiting();
  EXPECT_EQ(ShellAsked(), 0u);
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
  source.FetchWaiting();
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 16), State::Ready);
}

TEST_F(MenuIconSourceTest, TheNextStartShowsTheIconsFromTheCacheItSharesWithTheButtons) {
  {
    TSharedIconCache cache(kCache);
    TMenuIconSource source(cache, false);
    Ask(source, "C:\\Dati\\uno.txt", -1, 24);
    source.FetchWaiting();
    Ask(source, "C:\\Dati\\uno.txt", -1, 24);
    source.MenuClosed();  // written here
    TIconCache written;
    ASSERT_TRUE(written.Load(kCache));
    EXPECT_EQ(written.Count(), 1u);
    // Another copy of the program, sharing the data folder, writes its own
    // icon meanwhile: both are kept.
    written.Put("C:\\Dati\\tre.exe", TargetStamp("C:\\Dati\\tre.exe"), 32, Picture{Bitmap(32, 32), {}});
    ASSERT_TRUE(written.Save(kCache));
    Ask(source, "C:\\Dati\\due.txt", -1, 24);
    source.FetchWaiting();
  }  // and here, at the end
  TIconCache both;
  ASSERT_TRUE(both.Load(kCache));
  EXPECT_EQ(both.Count(), 3u);
  ShellAsked();
  TSharedIconCache nextCache(kCache);
  TMenuIconSource next(nextCache, false);
  int side = 0;
  EXPECT_EQ(Ask(next, "C:\\Dati\\uno.txt", -1, 24, &side), State::Ready);
  EXPECT_EQ(side, 24);
  EXPECT_EQ(Ask(next, "C:\\Dati\\due.txt", -1, 24), State::Ready);
  EXPECT_EQ(ShellAsked(), 0u);
  // A file written since is fetched again.
  const auto file = hp.Files().Map("C:\\Dati\\uno.txt");
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::hours(1));
  TSharedIconCache changedCache(kCache);
  TMenuIconSource changed(changedCache, false);
  EXPECT_EQ(Ask(changed, "C:\\Dati\\uno.txt", -1, 24), State::NotYet);
}

TEST_F(MenuIconSourceTest, ATargetOnANetworkShareIsLookedAtOnlyByTheFetch) {
  TMenuIconSource first(memory, false);
  EXPECT_EQ(Ask(first, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
  first.FetchWaiting();
  EXPECT_EQ(ShellAsked(), 1u);
  // The cache knows it now; on a drive standing for a share the caller is
  // answered not even from the cache, the fetch is: no shell.
  hp.Files().remoteDrives = "C";
  TMenuIconSource remote(memory, false);
  EXPECT_EQ(Ask(remote, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
  EXPECT_EQ(remote.FromCache(), 0);
  remote.FetchWaiting();
  EXPECT_EQ(remote.FromCache(), 1);
  EXPECT_EQ(ShellAsked(), 0u);
  int side = 0;
  EXPECT_EQ(Ask(remote, "C:\\Dati\\uno.txt", -1, 16, &side), State::Ready);
  EXPECT_EQ(side, 16);
  // The fetch reads the stamp: a target written since is asked of the shell.
  const auto file = hp.Files().Map("C:\\Dati\\uno.txt");
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::hours(1));
  TMenuIconSource changed(memory, false);
  EXPECT_EQ(Ask(changed, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
  changed.FetchWaiting();
  EXPECT_EQ(ShellAsked(), 1u);
  // On a local disk again: answered at once.
  hp.Files().remoteDrives.clear();
  TMenuIconSource local(memory, false);
  EXPECT_EQ(Ask(local, "C:\\Dati\\uno.txt", -1, 16), State::Ready);
  EXPECT_EQ(ShellAsked(), 0u);
}

TEST_F(MenuIconSourceTest, ADamagedCacheIsIgnoredAndWrittenWholeAgain) {
  ASSERT_TRUE(Files().WriteFile(kCache, std::string("TVIC\x01\0\0\0\x05\0\0\0garbage", 19)));
  {
    TSharedIconCache cache(kCache);
    TMenuIconSource source(cache, false);
    EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 16), State::NotYet);
    source.FetchWaiting();
    EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 16), State::Ready);
  }
  TIconCache rebuilt;
  ASSERT_TRUE(rebuilt.Load(kCache));
  EXPECT_EQ(rebuilt.Count(), 1u);
}

TEST_F(MenuIconSourceTest, OnAThreadOfItsOwnIconsArriveAndTheEndWaitsForNone) {
  int side = 0;
  {
    TMenuIconSource source(memory, true);
    EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 24), State::NotYet);
    for (int i = 0; i < 500 && source.Arrivals() == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GT(source.Arrivals(), 0u);
    EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 24, &side), State::Ready);
    EXPECT_EQ(side, 24);
    // Many asked and the source ends at once: no hang, nothing left running.
    for (int i = 0; i < 200; ++i)
      Ask(source, "C:\\Dati\\n" + std::to_string(i) + ".txt", -1, 16);
  }
}

TEST_F(MenuIconSourceTest, TheButtonsAndTheMenusSeeEachOthersIconsFromOneReadOfTheCache) {
  {
    TIconCache earlier;  // a run before kept one icon
    earlier.Put("C:\\Dati\\tre.exe", TargetStamp("C:\\Dati\\tre.exe"), 16, Picture{Bitmap(16, 16), {}});
    ASSERT_TRUE(earlier.Save(kCache));
  }
  TSharedIconCache cache(kCache);
  TIconLoader buttons(cache, nullptr);
  TMenuIconSource menus(cache, false);
  buttons.Start({{1, "C:\\Dati\\uno.txt", 16}, {2, "C:\\Dati\\tre.exe", 16}});
  EXPECT_EQ(buttons.AtOnce(), 1);
  EXPECT_EQ(hp.Shell().iconPictures, std::vector<std::string>{"C:\\Dati\\uno.txt@16"});
  ShellAsked();
  // Whatever the file holds from now on, the file read once serves both.
  ASSERT_TRUE(Files().DeleteFile(kCache));
  EXPECT_EQ(Ask(menus, "C:\\Dati\\uno.txt", -1, 16), State::Ready);  // the buttons fetched it
  EXPECT_EQ(Ask(menus, "C:\\Dati\\tre.exe", -1, 16), State::Ready);  // the earlier run kept it
  EXPECT_EQ(ShellAsked(), 0u);
  // What a menu fetched, the buttons have at once.
  EXPECT_EQ(Ask(menus, "C:\\Dati\\due.txt", -1, 16), State::NotYet);
  menus.FetchWaiting();
  EXPECT_EQ(ShellAsked(), 1u);
  buttons.Start({{3, "C:\\Dati\\due.txt", 16}});
  EXPECT_EQ(buttons.AtOnce(), 1);
  EXPECT_EQ(ShellAsked(), 0u);
  // The closing menu writes all three.
  menus.MenuClosed();
  TIconCache written;
  ASSERT_TRUE(written.Load(kCache));
  EXPECT_EQ(written.Count(), 3u);
}

TEST_F(MenuIconSourceTest, TheFetchThreadEndsWhenNothingWaitsAndStartsAgainWhenAsked) {
  TMenuIconSource source(memory, true);
  // Waits (5 seconds at most) for the thread to end by itself.
  const auto ended = [&] {
    for (int i = 0; i < 500 && source.Fetching(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !source.Fetching();
  };
  EXPECT_FALSE(source.Fetching());  // none before the first icon asked
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 24), State::NotYet);
  ASSERT_TRUE(ended());
  EXPECT_EQ(source.Arrivals(), 1u);
  EXPECT_EQ(Ask(source, "C:\\Dati\\uno.txt", -1, 24), State::Ready);
  // The next icon asked starts another.
  EXPECT_EQ(Ask(source, "C:\\Dati\\tre.exe", -1, 24), State::NotYet);
  ASSERT_TRUE(ended());
  EXPECT_EQ(Ask(source, "C:\\Dati\\tre.exe", -1, 24), State::Ready);
  EXPECT_EQ(ShellAsked(), 2u);
  // A menu closing with many waiting: the thread ends after the fetch under way.
  for (int i = 0; i < 200; ++i)
    Ask(source, "C:\\Dati\\n" + std::to_string(i) + ".txt", -1, 16);
  source.MenuClosed();
  ASSERT_TRUE(ended());
  // And starts again for the next menu.
  EXPECT_EQ(Ask(source, "C:\\Dati\\due.txt", -1, 16), State::NotYet);
  ASSERT_TRUE(ended());
  EXPECT_EQ(Ask(source, "C:\\Dati\\due.txt", -1, 16), State::Ready);
}

}  // namespace
}  // namespace tov
