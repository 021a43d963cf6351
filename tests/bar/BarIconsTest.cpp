// The bar's icons: placeholders while the bar is laid out and painted, the
// icons in their buttons once fetched, the folder menus showing what the
// buttons fetched, and a second start that asks the shell for none.
#include <gtest/gtest.h>

#include "controls/ButtonStyle.h"
#include "controls/ButtonTable.h"
#include "platform/MenuIcons.h"
#include "platform/host/HostShell.h"
#include "settings/UserData.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct BarIconsTest : testing::BarFixture {
  BarIconsTest() {
    ForceDirectories(Files(), "C:\\Dati");
    Files().WriteFile("C:\\Dati\\nota.txt", "x");
    Start();  // the first start makes the links folder
    Stop();
    TDataModule scratch;
    int i = 0;
    for (const char* path : {"C:\\Dati\\nota.txt", "C:\\Dati\\manca.txt", "C:\\Dati", "C:\\Dati\\nota.txt"}) {
      std::string caption = "B";
      caption += std::to_string(i);
      AddButtonRow(scratch.TblLinks, i++, caption, path);
    }
    SaveButtonList(scratch.TblLinks, testing::kBarLinks, scratch.SaveFormat);
    hp.Shell().iconPictures.clear();
  }
  Bitmap Expected(const std::string& path, size_t button) {
    Picture icon;
    EXPECT_TRUE(hp.Shell().IconPicture(path, 16, &icon));
    hp.Shell().iconPictures.pop_back();
    return IconOverBackground(icon, bar->Button(button).ButtonColor());
  }
};

TEST_F(BarIconsTest, PlaceholdersFirstThenEachIconInItsButton) {
  Start();
  ASSERT_EQ(bar->ButtonCount(), 4u);
  // Asked once per target and size, after the layout.
  EXPECT_EQ(hp.Shell().iconPictures, (std::vector<std::string>{"C:\\Dati\\nota.txt@16", "C:\\Dati@16"}));
  EXPECT_EQ(bar->Button(0).Glyph(), Expected("C:\\Dati\\nota.txt", 0));
  EXPECT_EQ(bar->Button(1).NumGlyphs(), 0);  // a missing target shows none
  EXPECT_EQ(bar->Button(2).Glyph(), Expected("C:\\Dati", 2));
  EXPECT_EQ(bar->Button(3).Glyph(), Expected("C:\\Dati\\nota.txt", 3));
  EXPECT_TRUE(Files().FileExists(UserDataDir() + kIconCacheName));

  // A layout: placeholders of the icons' size, nothing fetched before the
  // bar had its chance to paint them.
  hp.Shell().iconPictures.clear();
  bar->RebuildBar();
  for (size_t i = 0; i < bar->ButtonCount(); ++i) {
    ASSERT_EQ(bar->Button(i).NumGlyphs(), 1) << i;
    EXPECT_EQ(bar->Button(i).Glyph(), IconPlaceholder(16, bar->Button(i).ButtonColor())) << i;
  }
  // A second layout before the first one's icons came: only the last one's arrive.
  bar->RebuildBar();
  hp.Windows().Pump();
  EXPECT_EQ(bar->Button(0).Glyph(), Expected("C:\\Dati\\nota.txt", 0));
  EXPECT_EQ(bar->Button(1).NumGlyphs(), 0);
  // All from the cache.
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
}

TEST_F(BarIconsTest, TheFolderMenusShowTheIconsTheButtonsFetched) {
  Start();
  hp.Shell().iconPictures.clear();
  ASSERT_NE(MenuPictures(), nullptr);
  const Picture* picture = nullptr;
  EXPECT_EQ(MenuPictures()->Find("C:\\Dati\\nota.txt", -1, 16, &picture), IMenuPictures::State::Ready);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(IconOverBackground(*picture, bar->Button(0).ButtonColor()), bar->Button(0).Glyph());
  EXPECT_EQ(MenuPictures()->Find("C:\\Dati\\", -1, 16, &picture), IMenuPictures::State::Ready);
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
}

TEST_F(BarIconsTest, TheNextStartAsksTheShellForNoIcon) {
  Start();
  EXPECT_EQ(hp.Shell().iconPictures.size(), 2u);
  Stop();
  hp.Shell().iconPictures.clear();
  Start();
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
  EXPECT_EQ(bar->Button(2).Glyph(), Expected("C:\\Dati", 2));
  // A damaged cache: the icons come from the shell again, and the file is whole again.
  Stop();
  ASSERT_TRUE(Files().WriteFile(UserDataDir() + kIconCacheName, "TVIC rotto"));
  Start();
  EXPECT_EQ(hp.Shell().iconPictures.size(), 2u);
  EXPECT_EQ(bar->Button(0).Glyph(), Expected("C:\\Dati\\nota.txt", 0));
  TIconCache cache;
  EXPECT_TRUE(cache.Load(UserDataDir() + kIconCacheName));
  EXPECT_EQ(cache.Count(), 2u);
}

// A start whose list and icons are known: the window is made with its
// buttons laid out and shown in its final place (no second layout once
// shown), and the icons the cache knows are in their buttons when the bar
// is first painted, without waiting for an arrival.
TEST_F(BarIconsTest, AKnownStartShowsTheBarWholeAtOnce) {
  Start();
  const Rect final = Win().WindowRect();
  Stop();
  hp.Shell().iconPictures.clear();
  // Up to the shown window, its posted messages not yet handled.
  ASSERT_TRUE(program.TProgramRun::Start());
  ASSERT_TRUE(Win().IsVisible());
  ASSERT_EQ(bar->ButtonCount(), 4u);
  EXPECT_EQ(Win().WindowRect(), final);
  EXPECT_EQ(bar->Button(0).Glyph(), IconPlaceholder(16, bar->Button(0).ButtonColor()));
  const size_t moves = Win().history.size();
  bar->AddMessageHook([&](Message& m, intptr_t) {
    if (m.msg != kIconsStartMessage) return;
    EXPECT_EQ(bar->Button(0).Glyph(), Expected("C:\\Dati\\nota.txt", 0));
    EXPECT_EQ(bar->Button(2).Glyph(), Expected("C:\\Dati", 2));
  });
  const int updates = Win().updates;
  hp.Windows().Pump();
  EXPECT_GT(Win().updates, updates);
  EXPECT_EQ(Win().history.size(), moves);
  EXPECT_EQ(Win().WindowRect(), final);
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
  EXPECT_EQ(bar->Button(3).Glyph(), Expected("C:\\Dati\\nota.txt", 3));
}

}  // namespace
}  // namespace tov
