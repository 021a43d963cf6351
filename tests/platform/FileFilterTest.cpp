// The filters of the open and save dialogs, split into their pairs as both
// platforms read them.
#include <gtest/gtest.h>

#include "platform/Dialogs.h"

namespace tov {
namespace {

using Pairs = std::vector<FilterPair>;

TEST(DialogFileFilter, PairsOfDescriptionAndPatterns) {
  EXPECT_EQ(SplitFileFilter("File BMP(*.BMP)|*.bmp"), (Pairs{{"File BMP(*.BMP)", "*.bmp"}}));
  EXPECT_EQ(SplitFileFilter("Immagini (*.bmp;*.ico)|*.bmp;*.ico|Programmi|*.exe|Tutti i file|*.*"),
            (Pairs{{"Immagini (*.bmp;*.ico)", "*.bmp;*.ico"}, {"Programmi", "*.exe"}, {"Tutti i file", "*.*"}}));
}

TEST(DialogFileFilter, UnevenFiltersAreReadKindly) {
  EXPECT_EQ(SplitFileFilter(""), Pairs{});
  // A trailing bar adds no pair.
  EXPECT_EQ(SplitFileFilter("Testo|*.txt|"), (Pairs{{"Testo", "*.txt"}}));
  // A last description alone stands for every file.
  EXPECT_EQ(SplitFileFilter("Testo|*.txt|Tutti"), (Pairs{{"Testo", "*.txt"}, {"Tutti", "*.*"}}));
  EXPECT_EQ(SplitFileFilter("Tutti"), (Pairs{{"Tutti", "*.*"}}));
  // A description without patterns is dropped, the pairs after it stay.
  EXPECT_EQ(SplitFileFilter("Vuoto||Testo|*.txt"), (Pairs{{"Testo", "*.txt"}}));
}

}  // namespace
}  // namespace tov
