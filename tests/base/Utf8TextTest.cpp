// Text held as UTF-8: well-formedness, counting and cutting by characters,
// and text of earlier releases, in the ANSI code page, read right.
#include <gtest/gtest.h>

#include "base/Utf8Text.h"

namespace tov {
namespace {

// Cyrillic (2 bytes), CJK (3 bytes) and an emoji (4 bytes) beside ASCII.
const std::string kMixed = "A\xD0\x94\xE6\x97\xA5\xF0\x9F\x98\x80z";  // A Д 日 😀 z

TEST(Utf8Text, WellFormedAndMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8(kMixed));
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));                       // U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));                                  // a stray continuation
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));                              // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));                          // overlong, three bytes
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                          // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));                      // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE6\x97"));                              // cut short
  EXPECT_FALSE(IsValidUtf8("Caff\xE8"));                              // Windows-1252 "è"
  EXPECT_FALSE(IsValidUtf8(std::string("\xF8\x88\x80\x80\x80", 5)));  // five bytes
}

TEST(Utf8Text, CountsAndCutsNeverSplitACharacter) {
  EXPECT_EQ(Utf8CharCount(kMixed), 5u);
  EXPECT_EQ(Utf8CharCount("Caff\xE8"), 5u);  // a malformed byte counts once
  // Every byte limit gives a well-formed start, as long as fits.
  const size_t ends[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 11, 11};
  for (size_t limit = 0; limit <= 12; ++limit) {
    std::string_view cut = Utf8CutToBytes(kMixed, limit);
    EXPECT_TRUE(IsValidUtf8(cut)) << limit;
    EXPECT_EQ(cut.size(), ends[limit]) << limit;
  }
  EXPECT_EQ(Utf8CutToChars(kMixed, 0), "");
  EXPECT_EQ(Utf8CutToChars(kMixed, 2), "A\xD0\x94");
  EXPECT_EQ(Utf8CutToChars(kMixed, 4), kMixed.substr(0, 10));
  EXPECT_EQ(Utf8CutToChars(kMixed, 99), kMixed);
  // A malformed byte is a character of its own: nothing is lost or split.
  EXPECT_EQ(Utf8CutToChars("ab\xFF\xD0\x94", 3), "ab\xFF");
  EXPECT_EQ(Utf8CutToBytes("ab\xFF\xD0\x94", 4), "ab\xFF");
}

TEST(Utf8Text, CodePointsOneByOneWithMalformedBytesReplaced) {
  std::string_view t = "\xD0\x94\xFF\xF0\x9F\x98\x80";
  size_t at = 0;
  EXPECT_EQ(NextCodePoint(t, &at), 0x414u);
  EXPECT_EQ(NextCodePoint(t, &at), 0xFFFDu);
  EXPECT_EQ(at, 3u);
  EXPECT_EQ(NextCodePoint(t, &at), 0x1F600u);
  EXPECT_EQ(at, t.size());
}

TEST(Utf8Text, TextOfEarlierReleasesIsReadAsTheCodePage) {
  EXPECT_EQ(StoredTextToUtf8("Caff\xE8 \x80"), "Caff\xC3\xA8 \xE2\x82\xAC");  // è €
  EXPECT_EQ(StoredTextToUtf8("Caff\xC3\xA8"), "Caff\xC3\xA8");                // already UTF-8
  EXPECT_EQ(StoredTextToUtf8("\xEF\xBB\xBF\xD0\x94"), "\xD0\x94");            // a mark dropped
  EXPECT_EQ(StoredTextToUtf8("plain"), "plain");
}

}  // namespace
}  // namespace tov
