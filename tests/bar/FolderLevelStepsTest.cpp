// A folder-menu level read in steps: the listing stays open between batches
// and gives what one reading at once gives (hidden files and loops left out
// the same way), a folder that changes or goes meanwhile ends cleanly, and
// a level left unfinished when its menu closes is listed anew.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "bar/FolderMenuLevels.h"
#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

std::vector<std::string> Names(const std::vector<FindEntry>& entries) {
  std::vector<std::string> out;
  for (const FindEntry& e : entries)
    out.push_back(e.name);
  return out;
}

std::vector<std::string> Captions(const std::vector<TMenuLevelEntry>& entries) {
  std::vector<std::string> out;
  for (const TMenuLevelEntry& e : entries)
    out.push_back(e.caption + (e.folder.empty() ? "" : "/"));
  return out;
}

void Fill(const std::string& folder, int files) {
  ForceDirectories(Files(), folder);
  for (int i = 0; i < files; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "\\f%03d.txt", i);
    Files().WriteFile(folder + name, "");
  }
}

std::vector<FindEntry> ReadAll(IFileFind& find) {
  std::vector<FindEntry> out;
  for (FindEntry e; find.Next(&e);)
    out.push_back(e);
  return out;
}

TEST(FileFindInSteps, GivesWhatFindFilesGivesAndEndsCleanlyWhenTheFolderChangesOrGoes) {
  host::HostPlatform hp;
  Fill("C:\\Cartella", 30);
  ForceDirectories(Files(), "C:\\Cartella\\Zeta");
  Files().WriteFile("C:\\Cartella\\.nascosto", "");
  for (const char* pattern : {"C:\\Cartella\\*", "C:\\Cartella\\f01*", "C:\\Cartella\\f005.txt", "C:\\*"})
    EXPECT_EQ(Names(ReadAll(*Files().StartFind(pattern))), Names(Files().FindFiles(pattern))) << pattern;
  EXPECT_TRUE(ReadAll(*Files().StartFind("C:\\Manca\\*")).empty());
  // Entries deleted after the listing began are left out; the rest follow.
  std::unique_ptr<IFileFind> find = Files().StartFind("C:\\Cartella\\f*");
  FindEntry e;
  ASSERT_TRUE(find->Next(&e));
  EXPECT_EQ(e.name, "f000.txt");
  Files().DeleteFile("C:\\Cartella\\f001.txt");
  Files().DeleteFile("C:\\Cartella\\f002.txt");
  ASSERT_TRUE(find->Next(&e));
  EXPECT_EQ(e.name, "f003.txt");
  // The folder goes: the listing ends, nothing is made up.
  std::filesystem::remove_all(hp.HostPath("C:\\Cartella"));
  EXPECT_FALSE(find->Next(&e));
  EXPECT_FALSE(find->Next(&e));
}

struct LevelStepsTest : testing::BarFixture {};

TEST_F(LevelStepsTest, BatchesGiveTheWholeLevelInOrderWithHiddenFilesAndLoopsAsAtOnce) {
  Fill("C:\\Dati", 25);
  ForceDirectories(Files(), "C:\\Dati\\f010 sotto");
  for (const char* hidden : {"C:\\Dati\\.a", "C:\\Dati\\.m", "C:\\Dati\\f020.txt.bak"})
    Files().WriteFile(hidden, "");
  std::error_code ec;
  std::filesystem::create_directory_symlink(hp.HostPath("C:\\Dati"), hp.HostPath("C:\\Dati") / "f015 giro", ec);
  const bool junction = !ec;
  for (int shown : {0, 1}) {
    TMenuLevelRules rules;
    rules.hiddenShown = shown;
    const std::vector<std::string> chain = ChainWith({}, "C:\\Dati");
    const std::vector<TMenuLevelEntry> atOnce = ListMenuLevel("C:\\Dati", chain, rules);
    TMenuLevelListing listing("C:\\Dati", chain, rules);
    std::vector<TMenuLevelEntry> inSteps;
    size_t batches = 0;
    for (bool more = true; more;) {
      const size_t before = inSteps.size();
      more = listing.Next(7, &inSteps);
      EXPECT_LE(inSteps.size() - before, 7u);
      if (more) {
        EXPECT_EQ(inSteps.size() - before, 7u);  // only the last batch is short
      }
      ++batches;
    }
    EXPECT_TRUE(listing.Done());
    EXPECT_EQ(Captions(inSteps), Captions(atOnce));
    EXPECT_EQ(inSteps.size(), 25u + 1u + (junction ? 1u : 0u) + (shown ? 2u : 0u) + 1u);
    EXPECT_GE(batches, inSteps.size() / 7);
    // The sub-folder cascades, the loop back does not.
    for (const TMenuLevelEntry& entry : inSteps) {
      if (entry.name == "f010 sotto") {
        EXPECT_FALSE(entry.folder.empty());
      }
      if (entry.name == "f015 giro") {
        EXPECT_TRUE(entry.folder.empty());
      }
    }
  }
}

TEST_F(LevelStepsTest, AFolderGoneBetweenBatchesEndsTheLevelWithWhatWasRead) {
  Fill("C:\\Dati", 30);
  TMenuLevelListing listing("C:\\Dati", ChainWith({}, "C:\\Dati"), TMenuLevelRules{});
  std::vector<TMenuLevelEntry> read;
  EXPECT_TRUE(listing.Next(10, &read));
  std::filesystem::remove_all(hp.HostPath("C:\\Dati"));
  EXPECT_FALSE(listing.Next(10, &read));
  EXPECT_EQ(read.size(), 10u);
  EXPECT_TRUE(listing.Done());
  EXPECT_FALSE(listing.Next(10, &read));
  // Closed early: nothing more comes.
  Fill("C:\\Altri", 5);
  TMenuLevelListing closed("C:\\Altri", {}, TMenuLevelRules{});
  closed.Close();
  EXPECT_FALSE(closed.Next(10, &read));
  EXPECT_EQ(read.size(), 10u);
}

TEST_F(LevelStepsTest, ALevelUnfinishedWhenItsMenuClosesIsListedAnewNextTime) {
  Fill("C:\\Menu\\Molti", 250);
  Start();
  Stop();
  PrepareFolderMenu("Menu", "C:\\Menu");
  Start();
  Component& level = bar->FolderMenus().At(0)->Child(0);
  ASSERT_EQ(level.caption, "Molti");
  level.Fire("OnExpand");
  EXPECT_EQ(level.ChildCount(), 2 + TFolderMenus::kFirstScreenful);
  // The menu is shown and closed without the level being opened whole.
  hp.Windows().menuChoices = {""};
  bar->Button(0).Click();
  EXPECT_EQ(level.ChildCount(), 0u);
  // Meanwhile the folder changed: opened again, it is listed as it is now.
  Files().DeleteFile("C:\\Menu\\Molti\\f000.txt");
  Files().WriteFile("C:\\Menu\\Molti\\g.txt", "");
  hp.Windows().menuChoices = {"Molti/g.txt"};
  bar->Button(0).Click();
  ASSERT_FALSE(hp.Shell().opened.empty());
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Menu\\Molti\\g.txt");
  EXPECT_EQ(level.ChildCount(), 2u + 250u);
  EXPECT_EQ(level.Child(2).caption, "f001.txt");
}

}  // namespace
}  // namespace tov
