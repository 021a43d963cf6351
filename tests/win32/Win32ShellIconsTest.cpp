// Icons from the real shell at exact sizes, on the thread that asks and on
// one of their own (run under Wine in CI).
#include <gtest/gtest.h>

#include <thread>

#include "controls/ButtonStyle.h"
#include "platform/win32/Win32Platform.h"

namespace tov {
namespace {

// Pixels that are neither fully clear nor all of one colour: a drawn icon.
bool LooksDrawn(const Picture& p) {
  size_t opaque = 0;
  Color first = kNoColor;
  bool varied = false;
  for (size_t i = 0; i < p.alpha.size(); ++i) {
    if (p.alpha[i] == 0) continue;
    ++opaque;
    if (first == kNoColor) first = p.rgb.pixels[i];
    if (p.rgb.pixels[i] != first) varied = true;
  }
  return opaque > p.alpha.size() / 8 && varied;
}

TEST(Win32ShellIcons, AProgramsIconComesAtEachSizeAskedWithItsAlpha) {
  win32::Win32Platform wp;
  for (int dpi : {96, 144, 192}) {
    for (bool large : {false, true}) {
      const int pixels = IconPixelSize(large, Dpi(dpi));
      Picture p;
      ASSERT_TRUE(Shell().IconPicture("C:\\windows\\notepad.exe", pixels, &p)) << pixels;
      EXPECT_EQ(p.rgb.width, pixels);
      EXPECT_EQ(p.rgb.height, pixels);
      ASSERT_EQ(p.alpha.size(), p.rgb.pixels.size());
      EXPECT_TRUE(LooksDrawn(p)) << pixels;
    }
  }
  Picture folder;
  EXPECT_TRUE(Shell().IconPicture("C:\\windows", 24, &folder));
  EXPECT_EQ(folder.rgb.width, 24);
  Picture none;
  EXPECT_FALSE(Shell().IconPicture("", 16, &none));
  EXPECT_FALSE(Shell().IconPicture("C:\\windows\\notepad.exe", 0, &none));
}

TEST(Win32ShellIcons, AThreadOfItsOwnGetsTheSameIcon) {
  win32::Win32Platform wp;
  ASSERT_TRUE(Windows().PostsFromThreads());
  Picture here, there;
  ASSERT_TRUE(Shell().IconPicture("C:\\windows\\regedit.exe", 32, &here));
  bool found = false;
  std::thread worker([&] { found = Shell().IconPicture("C:\\windows\\regedit.exe", 32, &there); });
  worker.join();
  ASSERT_TRUE(found);
  EXPECT_EQ(there.rgb, here.rgb);
  EXPECT_EQ(there.alpha, here.alpha);
}

}  // namespace
}  // namespace tov
