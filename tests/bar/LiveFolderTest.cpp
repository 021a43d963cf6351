// The live source folder: changes the system reports in the folder reach the
// bar by themselves, coalesced on the host clock, keeping the user's order
// and looks; a folder that goes away is told once and caught up with later.
#include <gtest/gtest.h>

#include <filesystem>

#include "bar/LiveFolder.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostShell.h"
#include "settings/SettingsStore.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const std::string kLinks = testing::kBarLinks;
const std::string kFolder = kLinks.substr(0, kLinks.size() - 1);

// --------------------------------------------------------------- coalescing

TEST(ChangeCoalescer, ABurstIsDueOnceTheFolderWasQuiet) {
  TChangeCoalescer c;
  EXPECT_FALSE(c.Pending());
  EXPECT_FALSE(c.Due(0));
  c.Changed(1000);
  EXPECT_EQ(c.WaitMs(1000), TChangeCoalescer::kQuietMs);
  c.Changed(1300);  // the burst goes on: the wait starts again
  EXPECT_FALSE(c.Due(1000 + TChangeCoalescer::kQuietMs));
  EXPECT_EQ(c.WaitMs(1400), TChangeCoalescer::kQuietMs - 100);
  EXPECT_TRUE(c.Due(1300 + TChangeCoalescer::kQuietMs));
  static_assert(TChangeCoalescer::kQuietMs <= 1000, "an update comes at most a second after the last change");
  c.Done();
  EXPECT_FALSE(c.Due(5000));
  // Across the clock's wrap.
  c.Changed(0xFFFFFF00u);
  EXPECT_EQ(c.WaitMs(0xFFFFFF00u + 100u), TChangeCoalescer::kQuietMs - 100);
  EXPECT_TRUE(c.Due(0xFFFFFF00u + TChangeCoalescer::kQuietMs));
}

// ------------------------------------------------ following the folder's entries

struct FollowEntries : ::testing::Test {
  FollowEntries() {
    ForceDirectories(Files(), "C:\\L");
    for (const char* f : {"A.lnk", "B.lnk", "C.lnk"})
      Files().WriteFile(std::string("C:\\L\\") + f, "x");
    Files().WriteFile("C:\\L\\B.lnk", "bbbb");
    AddButtonRow(links, 0, "B", "C:\\L\\B.lnk");
    AddSeparatorRow(links, 1, "*Separator*");
    AddButtonRow(links, 2, "Elsewhere", "C:\\Other\\X.lnk");
    AddButtonRow(links, 3, "A", "C:\\L\\A.lnk");
    AddButtonRow(links, 4, "C", "C:\\L\\C.lnk");
    EXPECT_TRUE(links.Locate("Caption", "B"));
    links.Edit();
    links.FieldByName("Color").SetAsInteger(0x123456);
    links.Post();
    before = List();
  }
  std::vector<FindEntry> List() { return Files().FindFiles("C:\\L\\*"); }
  TFolderChanges Follow(const std::vector<FolderRename>& renames = {}) {
    return FollowFolderEntries(links, "C:\\L", List(), renames, &before);
  }
  std::string Rows() {
    std::string out;
    for (links.First(); !links.Eof(); links.Next())
      out +=
          std::to_string(links.FieldByName("Ordine").AsInteger()) + ":" + links.FieldByName("Caption").AsString() + " ";
    return out;
  }
  int32_t ColorOf(const std::string& caption) {
    return links.Locate("Caption", caption) ? links.FieldByName("Color").AsInteger() : -1;
  }
  host::HostPlatform hp;
  TDataModule dc;
  TRecordTable& links = dc.TblLinks;
  std::vector<FindEntry> before;
};

TEST_F(FollowEntries, NothingChangedChangesNothing) {
  const std::string rows = Rows();
  EXPECT_FALSE(Follow().Any());
  EXPECT_EQ(Rows(), rows);
  // The bar's own list beside the shortcuts is never a button.
  Files().WriteFile("C:\\L\\ButtonList.lob", "");
  Files().WriteFile("C:\\L\\ButtonList.lob.tmp", "");
  EXPECT_FALSE(Follow().Any());
}

TEST_F(FollowEntries, AddedGoAtTheEndRemovedGoAndTheRestKeepTheirPlaceAndLook) {
  Files().WriteFile("C:\\L\\D.lnk", "x");
  Files().WriteFile("C:\\L\\E.lnk", "x");
  Files().DeleteFile("C:\\L\\A.lnk");
  const TFolderChanges c = Follow();
  EXPECT_EQ(c.added.size(), 2u);
  EXPECT_EQ(c.removed, std::vector<std::string>{"C:\\L\\A.lnk"});
  EXPECT_EQ(Rows(), "0:B 1:*Separator* 2:Elsewhere 3:C 4:D 5:E ");
  EXPECT_EQ(ColorOf("B"), 0x123456);
  ASSERT_TRUE(links.Locate("Caption", "D"));
  EXPECT_EQ(links.FieldByName("Path").AsString(), "C:\\L\\D.lnk");
  EXPECT_EQ(links.FieldByName("Type").AsString(), "Button");
}

TEST_F(FollowEntries, ARenameKeepsThePlaceAndLookUnderTheNewCaption) {
  // As the system reports it, through two steps.
  ASSERT_TRUE(Files().MoveFile("C:\\L\\B.lnk", "C:\\L\\Bee.lnk", false));
  ASSERT_TRUE(Files().MoveFile("C:\\L\\Bee.lnk", "C:\\L\\Bravo.lnk", false));
  Files().WriteFile("C:\\L\\New.lnk", "x");
  const TFolderChanges c = Follow({{"B.lnk", "Bee.lnk"}, {"bee.LNK", "Bravo.lnk"}});
  ASSERT_EQ(c.renamed.size(), 1u);
  EXPECT_TRUE(c.removed.empty());
  EXPECT_EQ(Rows(), "0:Bravo 1:*Separator* 2:Elsewhere 3:A 4:C 5:New ");
  EXPECT_EQ(ColorOf("Bravo"), 0x123456);
  EXPECT_EQ(links.FieldByName("Path").AsString(), "C:\\L\\Bravo.lnk");
}

TEST_F(FollowEntries, AnUnreportedRenameIsOneGoneAndOneNewOfTheSameKindAndSize) {
  ASSERT_TRUE(Files().MoveFile("C:\\L\\B.lnk", "C:\\L\\Bravo.lnk", false));
  Follow();
  EXPECT_EQ(Rows(), "0:Bravo 1:*Separator* 2:Elsewhere 3:A 4:C ");
  EXPECT_EQ(ColorOf("Bravo"), 0x123456);
  // Another size, or another extension, is a removal and an addition.
  before = List();
  ASSERT_TRUE(Files().DeleteFile("C:\\L\\A.lnk"));
  Files().WriteFile("C:\\L\\Alfa.lnk", "longer");
  Follow();
  EXPECT_EQ(Rows(), "0:Bravo 1:*Separator* 2:Elsewhere 3:C 4:Alfa ");
  before = List();
  ASSERT_TRUE(Files().MoveFile("C:\\L\\C.lnk", "C:\\L\\C.url", false));
  Follow();
  EXPECT_EQ(Rows(), "0:Bravo 1:*Separator* 2:Elsewhere 3:Alfa 4:C ");
  // Without an earlier listing nothing is taken for a rename.
  ASSERT_TRUE(Files().MoveFile("C:\\L\\C.url", "C:\\L\\Charlie.url", false));
  FollowFolderEntries(links, "C:\\L", List(), {}, nullptr);
  EXPECT_EQ(Rows(), "0:Bravo 1:*Separator* 2:Elsewhere 3:Alfa 4:Charlie ");
}

TEST_F(FollowEntries, AnEntryWhoseButtonWasTakenOffStaysOff) {
  ASSERT_TRUE(links.Locate("Caption", "A"));
  links.Delete();  // "Elimina", keeping the file
  Files().WriteFile("C:\\L\\D.lnk", "x");
  Follow();
  EXPECT_EQ(Rows(), "0:B 1:*Separator* 2:Elsewhere 3:C 4:D ");
}

// ------------------------------------------------------------------ the bar

struct LiveFolderTest : testing::BarFixture {
  LiveFolderTest() {
    Start();  // the first start makes the links folder
    Stop();
    PrepareButtons({{"Uno", "Button"}, {"Due", "Button"}, {"", "Separator"}, {"Tre", "Button"}});
    for (const char* f : {"Uno", "Due", "Tre"})
      Files().WriteFile(kLinks + f + ".lnk", "x");
    Start();
    EXPECT_TRUE(dc->TblLinks.Locate("Caption", "Due"));
    dc->TblLinks.Edit();
    dc->TblLinks.FieldByName("Color").SetAsInteger(0x00AA00);
    dc->TblLinks.Post();
    bar->RebuildBar();
  }
  void Changed(const std::vector<FolderRename>& renames = {}, bool ended = false) {
    hp.Shell().FolderChanged(kFolder, renames, ended);
    hp.Windows().Pump();
  }
  int32_t ColorOf(const std::string& caption) {
    return dc->TblLinks.Locate("Caption", caption) ? dc->TblLinks.FieldByName("Color").AsInteger() : -1;
  }
  using Captions = std::vector<std::string>;
};

TEST_F(LiveFolderTest, ABurstOfChangesGivesOneUpdateAfterTheFolderIsQuiet) {
  ASSERT_EQ(hp.Shell().Watching(kFolder), 1);
  const std::vector<std::string> start = Hints();
  const size_t boxes = hp.Dialogs().shown.size();
  Files().WriteFile(kLinks + "Quattro.lnk", "x");
  Changed();
  hp.Windows().AdvanceTime(300);
  Files().WriteFile(kLinks + "Cinque.lnk", "x");
  Changed();
  hp.Windows().AdvanceTime(TChangeCoalescer::kQuietMs - 1);
  EXPECT_EQ(Hints(), start);  // still within the burst
  hp.Windows().AdvanceTime(1);
  // New entries go at the end in the order the folder lists them.
  EXPECT_EQ(Saved(), (Captions{"Uno", "Due", "*Separator*", "Tre", "Cinque", "Quattro"}));
  EXPECT_EQ(Hints().size(), start.size() + 2);
  EXPECT_EQ(ColorOf("Due"), 0x00AA00);
  EXPECT_EQ(hp.Dialogs().shown.size(), boxes);
}

TEST_F(LiveFolderTest, RemovedAndRenamedEntriesKeepTheOthersOrderAndLooks) {
  ASSERT_TRUE(Files().DeleteFile(kLinks + "Uno.lnk"));
  ASSERT_TRUE(Files().MoveFile(kLinks + "Due.lnk", kLinks + "Dos.lnk", false));
  Changed({{"Due.lnk", "Dos.lnk"}});
  hp.Windows().AdvanceTime(TChangeCoalescer::kQuietMs);
  EXPECT_EQ(Saved(), (Captions{"Dos", "*Separator*", "Tre"}));
  EXPECT_EQ(ColorOf("Dos"), 0x00AA00);
  // The bar's own changes in the folder (its list saved, a button renamed
  // through its menu) change nothing more.
  Changed();
  hp.Windows().AdvanceTime(TChangeCoalescer::kQuietMs);
  EXPECT_EQ(Saved(), (Captions{"Dos", "*Separator*", "Tre"}));
}

TEST_F(LiveFolderTest, AFolderGoneIsToldOnceAndCaughtUpWithWhenBack) {
  const std::filesystem::path host = hp.HostPath(kFolder), away = host.string() + ".away";
  const size_t boxes = hp.Dialogs().shown.size();
  std::filesystem::rename(host, away);
  Changed({}, true);
  hp.Windows().AdvanceTime(TChangeCoalescer::kQuietMs);
  ASSERT_EQ(hp.Dialogs().shown.size(), boxes + 1);
  EXPECT_NE(hp.Dialogs().shown.back().text.find(kFolder), std::string::npos);
  EXPECT_EQ(hp.Shell().Watching(kFolder), 0);
  EXPECT_EQ(Hints().size(), 3u);  // the bar as it was
  hp.Windows().AdvanceTime(3 * TLiveFolder::kBackPollMs);
  EXPECT_EQ(hp.Dialogs().shown.size(), boxes + 1);  // told once
  // Back, with a shortcut more and one less: caught up at the next look.
  std::filesystem::rename(away, host);
  Files().WriteFile(kLinks + "Quattro.lnk", "x");
  Files().DeleteFile(kLinks + "Tre.lnk");
  hp.Windows().AdvanceTime(TLiveFolder::kBackPollMs);
  EXPECT_EQ(Saved(), (Captions{"Uno", "Due", "*Separator*", "Quattro"}));
  EXPECT_EQ(hp.Shell().Watching(kFolder), 1);
  EXPECT_EQ(hp.Dialogs().shown.size(), boxes + 1);
}

// What happened in the folder while the bar was closed is followed at its
// next start as the watch would have: added at the end, removed gone,
// renamed in place with its looks; a button taken off the bar (its file
// kept) stays off; the file the bar keeps for it is no button. A folder the
// bar never kept a listing of is left as its list says.
TEST_F(LiveFolderTest, AStartCatchesUpWithWhatChangedWhileTheBarWasClosed) {
  ASSERT_TRUE(Files().FileExists(SeenEntriesPath(kFolder)));
  ASSERT_TRUE(dc->TblLinks.Locate("Caption", "Tre"));
  dc->TblLinks.Delete();  // "Elimina", keeping the file
  SaveButtonList(dc->TblLinks, kLinks, dc->SaveFormat);
  Stop();
  // Of another size: one gone and one new of the same size would be a rename.
  Files().WriteFile(kLinks + "Quattro.lnk", "xy");
  ASSERT_TRUE(Files().DeleteFile(kLinks + "Uno.lnk"));
  Start();
  EXPECT_EQ(Saved(), (Captions{"Due", "*Separator*", "Quattro"}));
  EXPECT_EQ(Hints().size(), 2u);
  EXPECT_EQ(ColorOf("Due"), 0x00AA00);
  Stop();
  ASSERT_TRUE(Files().MoveFile(kLinks + "Due.lnk", kLinks + "Dos.lnk", false));
  Start();
  EXPECT_EQ(Saved(), (Captions{"Dos", "*Separator*", "Quattro"}));
  EXPECT_EQ(ColorOf("Dos"), 0x00AA00);
  // Nothing changed: nothing moves.
  Stop();
  Start();
  EXPECT_EQ(Saved(), (Captions{"Dos", "*Separator*", "Quattro"}));
  // No listing kept there (a list of an earlier release): the list stands.
  Stop();
  ASSERT_TRUE(Files().DeleteFile(SeenEntriesPath(kFolder)));
  Files().WriteFile(kLinks + "Cinque.lnk", "x");
  Start();
  EXPECT_EQ(Saved(), (Captions{"Dos", "*Separator*", "Quattro"}));
  EXPECT_TRUE(Files().FileExists(SeenEntriesPath(kFolder)));
}

// The kept listing: read back as written, the list's side files left out;
// damaged lines are skipped, not taken as entries.
TEST(SeenEntries, RoundTripAndDamagedLines) {
  host::HostPlatform hp;
  ForceDirectories(Files(), "C:\\L");
  const std::vector<FindEntry> entries{{"b \xC3\xA8.lnk", 0, 12}, {"ButtonList.lob", 0, 900}, {"a.lnk", 0, 0}};
  ASSERT_TRUE(WriteSeenEntries("C:\\L", entries));
  std::vector<FindEntry> back;
  ASSERT_TRUE(ReadSeenEntries("C:\\L", &back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, "a.lnk");
  EXPECT_EQ(back[1].name, "b \xC3\xA8.lnk");
  EXPECT_EQ(back[1].size, 12u);
  Files().WriteFile(SeenEntriesPath("C:\\L"), "12\tx.lnk\r\nx\ty.lnk\n\tz.lnk\n7\t\n3\tw.lnk");
  ASSERT_TRUE(ReadSeenEntries("C:\\L", &back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, "x.lnk");
  EXPECT_EQ(back[1].name, "w.lnk");
  EXPECT_FALSE(ReadSeenEntries("C:\\Nessuna", &back));
}

TEST_F(LiveFolderTest, TheSettingTurnsWatchingOff) {
  program.UserStore().SetBool("Generale", "WatchFolder", false);
  ReadBarSettings(program.UserStore(), program.Settings(), bar.get());
  bar->LiveFolder().Start(bar->SourceFolder());
  EXPECT_EQ(hp.Shell().Watching(kFolder), 0);
  Files().WriteFile(kLinks + "Quattro.lnk", "x");
  Changed();
  hp.Windows().AdvanceTime(2 * TChangeCoalescer::kQuietMs);
  EXPECT_EQ(Saved(), (Captions{"Uno", "Due", "*Separator*", "Tre"}));
  // Another source folder is watched from the moment it is chosen.
  program.UserStore().SetBool("Generale", "WatchFolder", true);
  ReadBarSettings(program.UserStore(), program.Settings(), bar.get());
  ForceDirectories(Files(), "C:\\Altra");
  hp.Dialogs().folderAnswers.push_back(std::string("C:\\Altra"));
  bar->PopFolderClick();
  EXPECT_EQ(hp.Shell().Watching(kFolder), 0);
  EXPECT_EQ(hp.Shell().Watching("C:\\Altra"), 1);
}

}  // namespace
}  // namespace tov
