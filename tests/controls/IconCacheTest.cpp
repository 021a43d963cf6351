// The buttons' icons: the size chosen per scale, the cache between starts
// (found, missed once the target changed, damaged files ignored and written
// anew, its bounds) and the loader that takes icons from it or the shell.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "controls/ButtonStyle.h"
#include "controls/IconCache.h"
#include "controls/IconLoader.h"
#include "controls/SharedIconCache.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"

namespace tov {
namespace {

const char* const kCache = "C:\\Dati\\IconCache.bin";

Picture Square(int pixels, Color c, uint8_t alpha = 255) {
  Picture p;
  p.rgb = Bitmap(pixels, pixels, c);
  p.alpha.assign(p.rgb.pixels.size(), alpha);
  p.alpha[0] = 0;
  return p;
}

bool SamePicture(const Picture& a, const Picture& b) { return a.rgb == b.rgb && a.alpha == b.alpha; }

TEST(IconPixelSize, FollowsTheScaleInTheSizesIconsComeIn) {
  struct Case {
    int dpi, small, large;
  };
  for (const Case& c : {Case{96, 16, 32}, Case{120, 20, 40}, Case{144, 24, 48}, Case{168, 24, 48}, Case{192, 32, 64},
                        Case{240, 40, 64}, Case{288, 48, 96}, Case{384, 64, 128}, Case{72, 16, 24}, Case{0, 16, 32},
                        Case{-1, 16, 32}, Case{100000, 16, 32}}) {
    EXPECT_EQ(IconPixelSize(false, Dpi(c.dpi)), c.small) << c.dpi;
    EXPECT_EQ(IconPixelSize(true, Dpi(c.dpi)), c.large) << c.dpi;
  }
  TCustomButtonStyle s;
  s.IconDpi = 144;
  EXPECT_EQ(s.IconPixels(), 24);
  s.SmallIcon = false;
  EXPECT_EQ(s.IconPixels(), 48);
}

TEST(IconCache, FindsWhatItKeptAcrossStartsAndMissesAChangedTargetOrSize) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  TIconCache cache;
  EXPECT_FALSE(cache.Load(kCache));  // no file yet: empty, nothing to fix
  EXPECT_FALSE(cache.Changed());
  const Picture a = Square(16, RGB(1, 2, 3), 200), b = Square(24, RGB(4, 5, 6));
  cache.Put("C:\\Dati\\uno.lnk", 7, 16, a);
  cache.Put("C:\\Dati\\uno.lnk", 7, 24, b);
  cache.Put("C:\\Dati\\due.lnk", 9, 16, b);  // not the size it is filed under: not kept
  EXPECT_EQ(cache.Count(), 2u);
  ASSERT_TRUE(cache.Save(kCache));

  TIconCache next;
  ASSERT_TRUE(next.Load(kCache));
  ASSERT_NE(next.Find("C:\\Dati\\uno.lnk", 7, 16), nullptr);
  EXPECT_TRUE(SamePicture(*next.Find("C:\\Dati\\uno.lnk", 7, 16), a));
  EXPECT_TRUE(SamePicture(*next.Find("C:\\Dati\\uno.lnk", 7, 24), b));
  EXPECT_EQ(next.Find("C:\\Dati\\uno.lnk", 8, 16), nullptr);  // the target was written since
  EXPECT_EQ(next.Find("C:\\Dati\\uno.lnk", 7, 32), nullptr);  // another scale
  EXPECT_EQ(next.Find("C:\\Dati\\due.lnk", 9, 16), nullptr);
  // Reading changes nothing to write; a new icon for the target replaces the old.
  EXPECT_FALSE(next.Changed());
  const int writes = hp.Files().WriteCount();
  EXPECT_TRUE(next.Save(kCache));
  EXPECT_EQ(hp.Files().WriteCount(), writes);
  const Picture c = Square(16, RGB(7, 8, 9));
  next.Put("C:\\Dati\\uno.lnk", 8, 16, c);
  EXPECT_EQ(next.Count(), 2u);
  EXPECT_EQ(next.Find("C:\\Dati\\uno.lnk", 7, 16), nullptr);
  ASSERT_NE(next.Find("C:\\Dati\\uno.lnk", 8, 16), nullptr);
  EXPECT_TRUE(SamePicture(*next.Find("C:\\Dati\\uno.lnk", 8, 16), c));
}

TEST(IconCache, ADamagedFileIsIgnoredAndWrittenAnew) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  TIconCache cache;
  cache.Put("C:\\Dati\\uno.lnk", 7, 16, Square(16, RGB(1, 2, 3)));
  cache.Put("C:\\Dati\\due.lnk", 8, 16, Square(16, RGB(3, 2, 1)));
  const std::string good = cache.Serialize();
  std::string count = good;
  count[8] = 3;  // one more icon than the file holds
  std::string huge = good;
  huge[8] = char(0xFF);
  huge[9] = char(0xFF);
  std::string size = good;
  size[12 + 2 + 15 + 8] = char(0xFF);  // the first icon's size beyond any
  std::string version = good;
  version[4] = 2;
  for (const std::string& bad : {std::string(), std::string("TVIC"), good.substr(0, good.size() - 1), good + "x",
                                 "XVIC" + good.substr(4), count, huge, size, version}) {
    ASSERT_TRUE(Files().WriteFile(kCache, bad));
    TIconCache read;
    EXPECT_FALSE(read.Load(kCache));
    EXPECT_EQ(read.Count(), 0u);
    EXPECT_TRUE(read.Changed());  // the next save writes a sound file, even with nothing new
    ASSERT_TRUE(read.Save(kCache));
    TIconCache again;
    EXPECT_TRUE(again.Load(kCache));
  }
  TIconCache whole;
  EXPECT_TRUE(whole.Parse(good));
  EXPECT_EQ(whole.Count(), 2u);
}

TEST(IconCache, AFailedWriteKeepsTheOldFileAndTheBoundsHold) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  TIconCache cache;
  cache.Put("C:\\Dati\\uno.lnk", 7, 16, Square(16, RGB(1, 2, 3)));
  ASSERT_TRUE(cache.Save(kCache));
  std::string before;
  ASSERT_TRUE(Files().ReadFile(kCache, &before));
  cache.Put("C:\\Dati\\due.lnk", 8, 16, Square(16, RGB(3, 2, 1)));
  hp.Files().FailWriteAfter(1, 10);
  EXPECT_FALSE(cache.Save(kCache));
  std::string after;
  ASSERT_TRUE(Files().ReadFile(kCache, &after));
  EXPECT_EQ(after, before);
  EXPECT_TRUE(cache.Changed());  // tried again at the next save
  EXPECT_TRUE(cache.Save(kCache));

  // The icons least recently used leave first, by count and by bytes.
  TIconCache bounded;
  for (size_t i = 0; i < TIconCache::kMaxIcons + 5; ++i) {
    bounded.Put("C:\\" + std::to_string(i), 1, 16, Square(16, 0));
    if (i == 100) {
      ASSERT_NE(bounded.Find("C:\\0", 1, 16), nullptr);  // used again: stays
    }
  }
  EXPECT_EQ(bounded.Count(), TIconCache::kMaxIcons);
  EXPECT_NE(bounded.Find("C:\\0", 1, 16), nullptr);
  EXPECT_EQ(bounded.Find("C:\\1", 1, 16), nullptr);
  for (int i = 0; i < 40; ++i)
    bounded.Put("C:\\big" + std::to_string(i), 1, 256, Square(256, 0));
  EXPECT_LE(bounded.Bytes(), TIconCache::kMaxBytes);
  TIconCache reread;
  EXPECT_TRUE(reread.Parse(bounded.Serialize()));
  EXPECT_EQ(reread.Count(), bounded.Count());
}

struct LoaderFixture : ::testing::Test {
  LoaderFixture() {
    EXPECT_TRUE(Files().CreateDir("C:\\Dati"));
    EXPECT_TRUE(Files().WriteFile("C:\\Dati\\nota.txt", "x"));
    EXPECT_TRUE(Files().WriteFile("C:\\Dati\\.nascosto.txt", "x"));
  }
  std::vector<IconArrival> Load(const std::vector<IconRequest>& requests) {
    int notified = 0;
    TSharedIconCache cache(kCache);
    TIconLoader loader(cache, [&] { ++notified; });
    loader.Start(requests);
    EXPECT_FALSE(loader.Busy());  // no threads here: done at once
    fromCache = loader.FromCache();
    fromShell = loader.FromShell();
    atOnce = loader.AtOnce();
    auto arrived = loader.Take();
    EXPECT_EQ(notified, arrived.empty() ? 0 : 1);  // one message for all waiting
    return arrived;
  }
  host::HostPlatform hp;
  int fromCache = 0, fromShell = 0, atOnce = 0;
};

TEST_F(LoaderFixture, TheShellIsAskedOnceAndTheNextStartNotAtAll) {
  const std::vector<IconRequest> requests{
      {1, "C:\\Dati\\nota.txt", 24},  {2, "C:\\Dati\\nota.txt", 24},      {3, "C:\\Dati\\", 16},
      {4, "C:\\Dati\\manca.txt", 16}, {5, "C:\\Dati\\.nascosto.txt", 16}, {6, "C:\\Dati\\*.txt", 16}};
  auto first = Load(requests);
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(hp.Shell().iconPictures, (std::vector<std::string>{"C:\\Dati\\nota.txt@24", "C:\\Dati\\@16"}));
  EXPECT_EQ(fromShell, 2);
  Picture expected;
  ASSERT_TRUE(hp.Shell().IconPicture("C:\\Dati\\nota.txt", 24, &expected));
  hp.Shell().iconPictures.clear();
  EXPECT_EQ(first[0].id, 1);
  EXPECT_EQ(first[0].pixels, 24);
  EXPECT_TRUE(SamePicture(first[0].picture, expected));
  EXPECT_TRUE(SamePicture(first[1].picture, expected));
  for (size_t i = 3; i < 6; ++i)
    EXPECT_TRUE(first[i].picture.rgb.Empty()) << first[i].id;  // nothing to show: the placeholder goes

  // The next start: on a local disk, answered at once from the cache.
  auto second = Load(requests);
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
  EXPECT_EQ(atOnce, 2);
  EXPECT_EQ(fromCache, 0);
  ASSERT_EQ(second.size(), 6u);
  EXPECT_TRUE(SamePicture(second[0].picture, expected));

  // The target written since: asked again, and kept again.
  const auto file = hp.Files().Map("C:\\Dati\\nota.txt");
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::hours(1));
  Load(requests);
  EXPECT_EQ(hp.Shell().iconPictures, (std::vector<std::string>{"C:\\Dati\\nota.txt@24"}));
  hp.Shell().iconPictures.clear();
  Load(requests);
  EXPECT_TRUE(hp.Shell().iconPictures.empty());
}

TEST_F(LoaderFixture, TargetsOnANetworkShareAreLookedUpAwayFromTheCaller) {
  Load({{1, "C:\\Dati\\nota.txt", 16}, {2, "C:\\Dati\\", 16}});
  ASSERT_EQ(fromShell, 2);
  // The same drive standing for a share: the cache still answers, but only
  // in the batch, whose look-ups at the target may keep it waiting.
  hp.Files().remoteDrives = "C";
  auto arrived = Load({{1, "C:\\Dati\\nota.txt", 16}, {2, "C:\\Dati\\", 16}});
  EXPECT_EQ(atOnce, 0);
  EXPECT_EQ(fromCache, 2);
  ASSERT_EQ(arrived.size(), 2u);
  EXPECT_EQ(arrived[0].picture.rgb.width, 16);
  // Local again, one target changed: the other at once, the changed one from
  // the shell, in the batch.
  hp.Files().remoteDrives.clear();
  const auto file = hp.Files().Map("C:\\Dati\\nota.txt");
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::hours(1));
  hp.Shell().iconPictures.clear();
  arrived = Load({{1, "C:\\Dati\\nota.txt", 16}, {2, "C:\\Dati\\", 16}});
  EXPECT_EQ(atOnce, 1);
  EXPECT_EQ(hp.Shell().iconPictures, (std::vector<std::string>{"C:\\Dati\\nota.txt@16"}));
  ASSERT_EQ(arrived.size(), 2u);
  EXPECT_EQ(arrived[0].id, 2);  // those known come first
}

TEST_F(LoaderFixture, ADamagedCacheCostsOneLookAtTheShellNothingMore) {
  Load({{1, "C:\\Dati\\nota.txt", 16}});
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile(kCache, &bytes));
  ASSERT_TRUE(Files().WriteFile(kCache, bytes.substr(0, bytes.size() / 2)));
  hp.Shell().iconPictures.clear();
  auto arrived = Load({{1, "C:\\Dati\\nota.txt", 16}});
  ASSERT_EQ(arrived.size(), 1u);
  EXPECT_EQ(arrived[0].picture.rgb.width, 16);
  EXPECT_EQ(hp.Shell().iconPictures.size(), 1u);
  TIconCache rebuilt;
  EXPECT_TRUE(rebuilt.Load(kCache));
  EXPECT_EQ(rebuilt.Count(), 1u);
  // A shell with no icon for the target: nothing kept, the placeholder goes.
  hp.Shell().iconless.insert("C:\\Dati\\nota.txt");
  arrived = Load({{1, "C:\\Dati\\nota.txt", 32}});
  ASSERT_EQ(arrived.size(), 1u);
  EXPECT_TRUE(arrived[0].picture.rgb.Empty());
}

}  // namespace
}  // namespace tov
