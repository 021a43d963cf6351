// The host canvas stands in for GDI in every painting test: its geometry must
// follow GDI's rules and its text model must lay text out as DrawText does.
#include <gtest/gtest.h>

#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"

namespace tov::host {
namespace {

// The pixels of a canvas as rows of '#' (colour c) and '.' (anything else).
std::vector<std::string> Picture(ICanvas& cv, Color c) {
  std::vector<std::string> rows;
  for (int y = 0; y < cv.Height(); ++y) {
    std::string row;
    for (int x = 0; x < cv.Width(); ++x)
      row += cv.GetPixel(x, y) == c ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(HostCanvas, RectanglesLinesAndRoundRectsFollowGdi) {
  HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(12, 8);
  cv->FillRect({-5, -5, 3, 2}, 0);  // clipped, right and bottom excluded
  cv->Line({11, 7}, {5, 7}, 0);     // end point excluded
  cv->FrameRect({5, 2, 9, 5}, 0);
  EXPECT_EQ(Picture(*cv, 0), (std::vector<std::string>{
                                 "###.........",
                                 "###.........",
                                 ".....####...",
                                 ".....#..#...",
                                 ".....####...",
                                 "............",
                                 "............",
                                 "......######",
                             }));
  // RoundRect with 6 x 6 corners, as GDI draws it (checked against Wine's GDI).
  auto rr = Canvases().CreateBitmapCanvas(12, 9);
  rr->RoundRect({0, 0, 10, 8}, 6, 6, 0);
  EXPECT_EQ(Picture(*rr, 0), (std::vector<std::string>{
                                 "..######....",
                                 ".#......#...",
                                 "#........#..",
                                 "#........#..",
                                 "#........#..",
                                 "#........#..",
                                 ".#......#...",
                                 "..######....",
                                 "............",
                             }));
  auto r4 = Canvases().CreateBitmapCanvas(6, 5);
  r4->RoundRect({0, 0, 6, 5}, 4, 4, 0);
  EXPECT_EQ(Picture(*r4, 0), (std::vector<std::string>{".####.", "#....#", "#....#", "#....#", ".####."}));
}

TEST(HostCanvas, SystemColoursAreResolvedAndNoColourDrawsNothing) {
  HostPlatform hp;
  hp.Canvases().SetSysColor(15, RGB(10, 20, 30));
  auto cv = Canvases().CreateBitmapCanvas(2, 1);
  cv->FillRect({0, 0, 2, 1}, 0x8000000F);
  cv->SetPixel(1, 0, kNoColor);
  EXPECT_EQ(cv->GetPixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(cv->GetPixel(1, 0), RGB(10, 20, 30));
  EXPECT_EQ(cv->GetPixel(2, 0), 0xFFFFFFFFu);  // outside, as GDI's CLR_INVALID
}

TEST(HostCanvas, TextModelMetrics) {
  HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(40, 20);
  FontSpec f{"MS Sans Serif", 8, 0, 0};
  cv->SetFont(f);
  EXPECT_EQ(cv->TextExtent("Ab il mW"), (Size{5 + 5 + 4 + 3 + 3 + 4 + 8 + 8, 13}));
  EXPECT_EQ(cv->TextExtent("&"), (Size{5, 13}));  // the raw extent counts the prefix
  f.style = kFontBold;
  f.size = 12;  // em 16
  cv->SetFont(f);
  EXPECT_EQ(cv->TextExtent("a i"), (Size{7 + 1 + 5 + 1 + 4 + 1, 18}));
  // "a" in 8 points: a box 4 wide from row 2 to row 10; underline on row 11.
  f = FontSpec{"x", 8, kFontUnderline, RGB(255, 0, 0)};
  cv->SetFont(f);
  cv->TextAt(1, 0, "a");
  auto rows = Picture(*cv, RGB(255, 0, 0));
  EXPECT_EQ(rows[1].substr(0, 8), "........");
  EXPECT_EQ(rows[2].substr(0, 8), ".####...");
  EXPECT_EQ(rows[10].substr(0, 8), ".####...");
  EXPECT_EQ(rows[11].substr(0, 8), ".#####..");
  EXPECT_EQ(rows[12].substr(0, 8), "........");
}

TEST(HostCanvas, DrawTextBreaksWordsAndMeasuresLikeGdi) {
  HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(100, 60);
  cv->SetFont(FontSpec{"x", 8, 0, 0});
  // "abc de" = 15 + 4 + 10; a 20-pixel line holds "abc " only.
  Rect r{10, 10, 30, 100};
  EXPECT_EQ(cv->DrawTextIn("abc de", r, kDtCalcRect | kDtWordBreak), 26);
  EXPECT_EQ(r, (Rect{10, 10, 29, 36}));  // the widest line keeps its trailing space
  r = Rect{10, 10, 30, 100};
  cv->DrawTextIn("abc de", r, kDtCalcRect | kDtWordBreak | kDtCenter);
  EXPECT_EQ(r, (Rect{10, 10, 25, 36}));  // centred lines drop it
  // A word longer than the line stays whole; without word break all is one line.
  r = Rect{0, 0, 12, 100};
  cv->DrawTextIn("abcdef gh", r, kDtCalcRect | kDtWordBreak);  // "f" is narrow
  EXPECT_EQ(r, (Rect{0, 0, 28, 26}));
  r = Rect{0, 0, 12, 100};
  cv->DrawTextIn("abcdef gh", r, kDtCalcRect);
  EXPECT_EQ(r, (Rect{0, 0, 42, 13}));
  // Prefixes: "&&" is one "&", "&x" underlines x; a final "&" stays.
  r = Rect{0, 0, 100, 100};
  cv->DrawTextIn("a&&b&c&", r, kDtCalcRect);
  EXPECT_EQ(r.right, 25);
  r = Rect{0, 0, 100, 100};
  cv->DrawTextIn("a&b", r, kDtCalcRect | kDtNoPrefix);
  EXPECT_EQ(r.right, 15);
  // Line ends split paragraphs; the empty text measures as nothing.
  r = Rect{0, 0, 100, 100};
  EXPECT_EQ(cv->DrawTextIn("ab\r\ncd\nef", r, kDtCalcRect), 39);
  r = Rect{5, 5, 100, 100};
  EXPECT_EQ(cv->DrawTextIn("", r, kDtCalcRect | kDtWordBreak), 13);
  EXPECT_EQ(r, (Rect{5, 5, 5, 5}));
}

TEST(HostCanvas, DrawTextAlignsAndClips) {
  HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(30, 14);
  cv->SetFont(FontSpec{"x", 8, 0, 0});
  Rect r{0, 0, 30, 14};
  cv->DrawTextIn("ab", r, kDtCenter);  // 10 wide: starts at (0 + 30 - 10) / 2
  auto rows = Picture(*cv, 0);
  EXPECT_EQ(rows[5], "..........####.####...........");
  auto clipped = Canvases().CreateBitmapCanvas(30, 14);
  clipped->SetFont(FontSpec{"x", 8, kFontUnderline, 0});
  r = Rect{2, 0, 9, 12};
  clipped->DrawTextIn("&abc", r, kDtLeft);
  rows = Picture(*clipped, 0);
  EXPECT_EQ(rows[5], "..####.##.....................");
  EXPECT_EQ(rows[11], "..#######.....................");  // the underline, cut at the right
  EXPECT_EQ(rows[12], "..............................");
}

TEST(HostCanvas, IconModelSharesOneIndexAndHonoursBackground) {
  HostPlatform hp;
  EXPECT_EQ(Canvases().ImageListSize(Shell().SystemImageList(true)), (Size{16, 16}));
  EXPECT_EQ(Canvases().ImageListSize(Shell().SystemImageList(false)), (Size{32, 32}));
  auto cv = Canvases().CreateBitmapCanvas(40, 40);
  cv->FillRect({0, 0, 40, 40}, RGB(1, 2, 3));
  cv->DrawImage(Shell().SystemImageList(true), 7, 2, 2, true);
  EXPECT_EQ(cv->GetPixel(2, 2), RGB(1, 2, 3));  // a transparent corner
  EXPECT_EQ(cv->GetPixel(4, 2), IconBorderColor(7));
  EXPECT_EQ(cv->GetPixel(10, 10), IconColor(7));
  cv->DrawImage(Shell().SystemImageList(false), 7, 0, 0, true, RGB(9, 9, 9));
  EXPECT_EQ(cv->GetPixel(0, 0), RGB(9, 9, 9));
  EXPECT_EQ(cv->GetPixel(31, 31), RGB(9, 9, 9));
  EXPECT_EQ(cv->GetPixel(32, 32), RGB(1, 2, 3));
  EXPECT_EQ(cv->GetPixel(16, 16), IconColor(7));
  cv->DrawImage(Shell().SystemImageList(false), kIconCount, 0, 0, true, RGB(5, 5, 5));  // no such icon
  EXPECT_EQ(cv->GetPixel(16, 16), IconColor(7));
}

TEST(HostCanvas, CopyLeavesOutTheTransparentColour) {
  HostPlatform hp;
  auto src = Canvases().CreateBitmapCanvas(3, 1);
  src->FillRect({0, 0, 3, 1}, RGB(255, 0, 255));
  src->SetPixel(1, 0, RGB(1, 1, 1));
  auto dst = Canvases().CreateBitmapCanvas(4, 1);
  dst->FillRect({0, 0, 4, 1}, RGB(7, 7, 7));
  dst->CopyFrom(*src, {0, 0, 3, 1}, {1, 0}, RGB(255, 0, 255));
  EXPECT_EQ(dst->ToBitmap().pixels, (std::vector<Color>{RGB(7, 7, 7), RGB(7, 7, 7), RGB(1, 1, 1), RGB(7, 7, 7)}));
}

}  // namespace
}  // namespace tov::host
