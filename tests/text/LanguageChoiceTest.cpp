#include "text/LanguageChoice.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(LanguageChoice, TheUserInterfaceLanguageWinsWhenItsFileShipsElseEnglish) {
  const std::vector<std::string> shipped{"English", "Italiano", "Deutsch",
                                         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"};  // 日本語
  EXPECT_EQ(ChooseStartLanguage("it-IT", shipped), "Italiano");
  EXPECT_EQ(ChooseStartLanguage("it-CH", shipped), "Italiano");
  EXPECT_EQ(ChooseStartLanguage("de-AT", shipped), "Deutsch");
  EXPECT_EQ(ChooseStartLanguage("ja-JP", shipped), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");  // 日本語
  EXPECT_EQ(ChooseStartLanguage("en-GB", shipped), "English");
  // No file for these: English.
  EXPECT_EQ(ChooseStartLanguage("fr-FR", shipped), "English");
  EXPECT_EQ(ChooseStartLanguage("zh-Hant-TW", shipped), "English");
  EXPECT_EQ(ChooseStartLanguage("", shipped), "English");
  EXPECT_EQ(ChooseStartLanguage("x", shipped), "English");
}

TEST(LanguageChoice, FileNamesCompareAsFileNamesAndItalianIsTheLastResort) {
  // A file listed in another letter case is still the one; its own spelling is kept.
  EXPECT_EQ(ChooseStartLanguage("en-US", {"ENGLISH", "Italiano"}), "ENGLISH");
  EXPECT_EQ(ChooseStartLanguage("de-DE", {"deutsch"}), "deutsch");
  // Without English, the program's own language.
  EXPECT_EQ(ChooseStartLanguage("fr-FR", {"Italiano"}), "Italiano");
  EXPECT_EQ(ChooseStartLanguage("fr-FR", {}), "Italiano");
}

TEST(LanguageChoice, TheLanguageOfATagIsItsPrimarySubtag) {
  EXPECT_EQ(LanguageFileNameFor("pt-BR"), "Portugu\xC3\xAAs");  // Português
  EXPECT_EQ(LanguageFileNameFor("pt_PT"), "Portugu\xC3\xAAs");  // Português
  EXPECT_EQ(LanguageFileNameFor("EL-gr"),
            "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC");  // Ελληνικά
  EXPECT_EQ(LanguageFileNameFor("nb-NO"), LanguageFileNameFor("no"));
  EXPECT_EQ(LanguageFileNameFor("tlh"), "");  // a language without a file name here
  EXPECT_EQ(LanguageFileNameFor("en"), "English");
}

}  // namespace
}  // namespace tov
