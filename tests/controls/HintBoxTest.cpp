// The hint box on the host canvas: its markup, its frame, and where each
// piece of text lands. Expected text is drawn with the canvas's own TextAt at
// the positions worked out by hand, and compared pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "controls/HintBox.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

constexpr Color kText = RGB(0, 0, 160);
constexpr Color kFill = RGB(255, 255, 200);
constexpr Color kShade = RGB(90, 90, 90);
constexpr Color kParent = RGB(10, 120, 10);
// 8 points: rows 13 high; "a".."z" 5 wide but i j l t f (3) and m w (8),
// a blank 4; bold adds 1 to each character.
const FontSpec kFont{"Tahoma", 8, 0, kText};

THintBox Box(int w, int h, const std::vector<std::string>& lines) {
  THintBox b;
  b.SetSize(w, h);
  b.SetColor(kFill);
  b.SetShadowColor(kShade);
  b.SetParentColor(kParent);
  b.SetFont(kFont);
  b.SetLines(lines);
  return b;
}

Bitmap Painted(THintBox& b) {
  auto cv = Canvases().CreateBitmapCanvas(b.Width(), b.Height());
  b.Paint(*cv);
  return cv->ToBitmap();
}

struct Run {
  int x, y;
  std::string text;
  uint32_t style = 0;
};

// "" when the text pixels of the bitmap are exactly those of the runs.
std::string TextDiff(const Bitmap& got, const std::vector<Run>& runs) {
  auto cv = Canvases().CreateBitmapCanvas(got.width, got.height);
  for (const Run& r : runs) {
    FontSpec f = kFont;
    f.style = r.style;
    cv->SetFont(f);
    cv->TextAt(r.x, r.y, r.text);
  }
  Bitmap want = cv->ToBitmap();
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x)
      if ((got.At(x, y) == kText) != (want.At(x, y) == kText))
        return "text pixels differ first at " + std::to_string(x) + "," + std::to_string(y);
  return "";
}

std::vector<std::pair<std::string, int>> Parsed(const std::vector<std::string>& lines) {
  THintBox b;
  b.SetLines(lines);
  std::vector<std::pair<std::string, int>> out;
  for (size_t i = 0; i < b.ParsedLines().size(); ++i)
    out.emplace_back(b.ParsedLines()[i], b.LineAlignments()[i]);
  return out;
}

using Lines = std::vector<std::pair<std::string, int>>;

TEST(HintMarkup, ParagraphsSplitAtAlignmentAndBreakTags) {
  EXPECT_EQ(Parsed({""}), (Lines{{"", 0}}));
  EXPECT_EQ(Parsed({"fine<br>"}), (Lines{{"fine", 0}, {"", 0}}));
  EXPECT_EQ(Parsed({"a <center> b </center>c"}), (Lines{{"a ", 0}, {"b ", 1}, {"c", 0}}));
  EXPECT_EQ(Parsed({"<RIGHT>x</CENTER>"}), (Lines{{"x", 2}}));  // closes with the opened alignment
  EXPECT_EQ(Parsed({"x</RIGHT>"}), (Lines{{"x", 0}}));
  EXPECT_EQ(Parsed({"<CENTER>"}), (Lines{{"", 1}}));
  EXPECT_EQ(Parsed({"<center>x<BR>  y"}), (Lines{{"x", 1}, {"y", 1}}));
  EXPECT_EQ(Parsed({"a > b <Right>c"}), (Lines{{"a > b ", 0}, {"c", 2}}));
  EXPECT_EQ(Parsed({"a<<BR>b"}), (Lines{{"a<", 0}, {"b", 0}}));
  EXPECT_EQ(Parsed({"1 < 2 <b>x</b> <Nota>"}), (Lines{{"1 < 2 <b>x</b> <Nota>", 0}}));
  EXPECT_EQ(Parsed({"<CENTER>a", "b"}), (Lines{{"a", 1}, {"b", 0}}));  // each string starts left
}

TEST(HintMarkup, StyleTagsAndOtherBrackets) {
  EXPECT_TRUE(OnlyContainsTags("<b>"));
  EXPECT_TRUE(OnlyContainsTags("<I></Strike><u>"));
  EXPECT_FALSE(OnlyContainsTags(""));
  EXPECT_FALSE(OnlyContainsTags("<b>x"));
  EXPECT_FALSE(OnlyContainsTags(" <b>"));
  EXPECT_FALSE(OnlyContainsTags("<b"));
  EXPECT_FALSE(OnlyContainsTags("<Nota><b>"));  // the bracketed word is text to show
  std::vector<THintSegment> s = SplitStyleTags("ab</B>c<x>d<i");
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].text, "ab");
  EXPECT_EQ(s[0].styleBit, kFontBold);
  EXPECT_FALSE(s[0].on);
  EXPECT_EQ(s[1].text, "c<x>");  // not style tags: the brackets are text
  EXPECT_EQ(s[1].styleBit, 0u);
  EXPECT_EQ(s[2].text, "d<i");
  EXPECT_EQ(FindNext("a<b<", "<", 2), 3u);
  EXPECT_EQ(FindNext("a<b", "<", 3), std::string::npos);
  EXPECT_EQ(FindNext("a<b", "", 0), std::string::npos);
}

TEST(HintBox, StyleTagsSwitchStylesAcrossSegmentsAndLines) {
  host::HostPlatform hp;
  // "ab " is 14 wide, bold "Salva" 28.
  THintBox b = Box(200, 200, {"ab <b>Salva</b> cd"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "ab "}, {18, 4, "Salva", kFontBold}, {46, 4, " cd"}}), "");
  auto cv = Canvases().CreateBitmapCanvas(10, 10);
  EXPECT_EQ(b.TextExtentEx(*cv, "ab <b>Salva</b> cd"), (Size{56, 13}));
  EXPECT_EQ(b.TextExtentEx(*cv, "<b>x"), (Size{6, 13}));
  EXPECT_EQ(b.TextStyle(), 0u);  // measuring leaves the style as it was
  b.TextOutEx(*cv, 0, 0, "<u>x");
  EXPECT_EQ(b.TextStyle(), uint32_t(kFontUnderline));  // drawing does not

  // A line of style tags only takes no row; its styles hold for what follows.
  b.SetLines({"<b>", "Salva", "<I></B>", "x"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "Salva", kFontBold}, {4, 17, "x"}}), "");
  EXPECT_EQ(b.TextStyle(), uint32_t(kFontItalic));
  b.SetLines({"<Nota><b>", "x"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "<Nota>"}, {4, 17, "x", kFontBold}}), "");
  // Every paint starts from the plain font.
  b.SetLines({"Salva", "<b>"});
  Painted(b);
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "Salva"}}), "");
}

TEST(HintBox, LoneBracketsAndUnknownTagsAreDrawnAsText) {
  host::HostPlatform hp;
  THintBox b = Box(200, 200, {"1 < 2 e <Nota>", "a > b", "c <d"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "1 < 2 e <Nota>"}, {4, 17, "a > b"}, {4, 30, "c <d"}}), "");
  // With markup off the tags themselves are text, left-aligned.
  b.SetHTMLFormatting(false);
  b.SetLines({"<b>x</b>", "<CENTER>y"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "<b>x</b>"}, {4, 17, "<CENTER>y"}}), "");
  b.SetHTMLFormatting(true);
  EXPECT_EQ(b.ParsedLines(), (std::vector<std::string>{"<b>x</b>", "y"}));
}

TEST(HintBox, WideLinesWrapAtBlanksOrInsideAWord) {
  host::HostPlatform hp;
  // Text from x = 4 to 28 less the shadow: 20 pixels, four letters.
  THintBox b = Box(32, 60, {"abcdefghij"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "abcd"}, {4, 17, "efgh"}, {4, 30, "ij"}}), "");
  b.SetLines({"aa bbbbbb"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "aa"}, {4, 17, "bbbb"}, {4, 30, "bb"}}), "");
  // The wrapping measures the tags as text; the pieces are drawn with them.
  b.SetSize(40, 60);  // 28 pixels
  b.SetLines({"<u>aaa</u> bb"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "aa", kFontUnderline}, {4, 17, "a", kFontUnderline}, {4, 30, "bb"}}), "");
}

TEST(HintBox, TextStopsAtTheLastWholeRow) {
  host::HostPlatform hp;
  // A row is drawn when its bottom stays above the box's bottom (height - 4).
  THintBox b = Box(100, 35, {"uno", "due", "tre"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "uno"}, {4, 17, "due"}}), "");
  b.SetSize(100, 34);
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "uno"}}), "");
  b.SetSize(32, 34);
  b.SetLines({"abcdefghij", "x"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "abcd"}}), "");
}

TEST(HintBox, BoxWithShadowOrJustTheParentsColour) {
  host::HostPlatform hp;
  THintBox b = Box(40, 30, {});
  Bitmap on = Painted(b);
  for (Point p : {Point{0, 0}, Point{35, 0}, Point{0, 25}, Point{35, 25}})
    EXPECT_EQ(on.At(p.x, p.y), clBlack);
  EXPECT_EQ(on.At(1, 1), kFill);
  EXPECT_EQ(on.At(34, 24), kFill);
  for (Point p : {Point{36, 4}, Point{39, 29}, Point{4, 26}})
    EXPECT_EQ(on.At(p.x, p.y), kShade);
  EXPECT_EQ(on.At(37, 3), clWhite);  // outside box and shadow: not painted
  EXPECT_EQ(on.At(3, 27), clWhite);

  b.SetHintBox(false);
  b.SetLines({"x"});
  Bitmap off = Painted(b);
  EXPECT_EQ(TextDiff(off, {{0, 0, "x"}}), "");
  EXPECT_EQ(std::count_if(off.pixels.begin(), off.pixels.end(), [](Color c) { return c != kParent && c != kText; }), 0);
}

TEST(HintBox, CentredAndRightAlignedPlacement) {
  host::HostPlatform hp;
  // Between 4 and 96, "abc" 15 wide: centred at 4 + 77 / 2 - 4, right at 96 - 15 - 4.
  THintBox b = Box(100, 100, {"<CENTER>abc", "<RIGHT>abc"});
  EXPECT_EQ(TextDiff(Painted(b), {{38, 4, "abc"}, {77, 17, "abc"}}), "");
  // Between 4 and 36, wrapped: each piece centred by its own width.
  b.SetSize(40, 100);
  b.SetLines({"<CENTER>aaaa bbb"});
  EXPECT_EQ(TextDiff(Painted(b), {{6, 4, "aaaa"}, {8, 17, "bbb"}}), "");
}

TEST(HintBox, BreakTagLeavesAnEmptyRowAndClosingTagNone) {
  host::HostPlatform hp;
  THintBox b = Box(100, 100, {"uno<BR>", "due", "<CENTER>tre</CENTER>", "qua"});
  EXPECT_EQ(TextDiff(Painted(b), {{4, 4, "uno"}, {4, 30, "due"}, {39, 43, "tre"}, {4, 56, "qua"}}), "");
}

TEST(HintBox, SettersKeepTheirRulesAndAskForPaint) {
  THintBox b;
  EXPECT_EQ(b.Width(), 200);
  EXPECT_EQ(b.BoxColor(), 0x80000018u);
  EXPECT_EQ(b.ShadowColor(), 0x808080u);
  EXPECT_TRUE(b.HTMLFormatting() && b.DrawHintBox());
  int paints = 0;
  b.onInvalidate = [&] { ++paints; };
  b.SetShadowSize(6);
  EXPECT_EQ(b.Width(), 202);
  EXPECT_EQ(b.Height(), 202);
  EXPECT_EQ(paints, 1);
  b.SetShadowSize(6);
  b.SetShadowSize(-1);
  b.SetColor(0x80000018);
  b.SetHintBox(true);
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(b.ShadowSize(), 6);
  b.SetShadowSize(3);
  EXPECT_EQ(b.Width(), 199);

  // Lines changed in place count after Update, or at the first paint.
  b.Lines() = {"a<BR>b"};
  EXPECT_TRUE(b.ParsedLines().empty());
  b.Update();
  EXPECT_EQ(b.ParsedLines(), (std::vector<std::string>{"a", "b"}));
  host::HostPlatform hp;
  THintBox fresh;
  fresh.Lines() = {"<RIGHT>c"};
  Painted(fresh);
  EXPECT_EQ(fresh.LineAlignments(), std::vector<int>{haRight});
}

}  // namespace
}  // namespace tov
