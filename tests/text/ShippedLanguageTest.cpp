// The shipped English file translates every item of the bar window.
#include <gtest/gtest.h>

#include "tests/ShippedFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "base/Strings.h"
#include "forms/AboutBoxForm.h"
#include "forms/ExceptMessageForm.h"
#include "forms/SettingsForm.h"
#include "forms/StandardPromptForm.h"
#include "forms/ToviraMainForm.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostPlatform.h"
#include "text/LanguageFiles.h"
#include "text/Texts.h"

namespace tov {
namespace {

#if TOVIRA_HOST
TEST(ShippedLanguage, EnglishCaptionsEveryItemOfTheBarWindow) {
  host::HostPlatform hp;
  std::string bytes;
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Langs/English.lng", &bytes));
  ASSERT_TRUE(Files().WriteFile(LanguageFilePath("English"), bytes));

  auto design = BuildToviraMainForm();
  auto form = BuildToviraMainForm();
  ApplyLanguage(*form, "English");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  for (size_t i = 0; i < design->Owned().size(); ++i) {
    const Component& before = *design->Owned()[i];
    const Component& after = *form->Owned()[i];
    if (before.kind != ComponentKind::MenuItem || before.IsSeparator()) continue;
    EXPECT_NE(after.caption, before.caption) << before.name;
  }
  EXPECT_EQ(LangText("Messages.TtlFirstRun", "Prima esecuzione"), "First start");
  FreeMessageTable();
}

// Every message key the program looks up, and every page and option of the
// settings template, has its English text.
// The dialogs' every caption and hint has its English text (what reads the
// same in both languages aside).
TEST(ShippedLanguage, EnglishTranslatesTheDialogsCompletely) {
  host::HostPlatform hp;
  std::string bytes;
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Langs/English.lng", &bytes));
  ASSERT_TRUE(Files().WriteFile(LanguageFilePath("English"), bytes));
  // The prompt takes its caption from its caller; "..." is no word.
  const std::set<std::string> same{"OK", "Input", "..."};
  for (auto build : {&BuildAboutBoxForm, &BuildSettingsForm, &BuildStandardPromptForm, &BuildExceptMessageForm}) {
    auto design = build();
    auto form = build();
    ApplyLanguage(*form, "English");
    const std::vector<Component*>& owned = design->Owned();
    auto check = [&](const Component& before, const Component& after) {
      if (!before.caption.empty() && !same.count(before.caption)) {
        EXPECT_NE(after.caption, before.caption) << design->name << "." << before.name;
      }
      if (!before.hint.empty()) {
        EXPECT_NE(after.hint, before.hint) << design->name << "." << before.name;
      }
      if (!before.lines.empty()) {
        EXPECT_NE(after.lines, before.lines) << design->name << "." << before.name;
      }
    };
    check(*design, *form);
    for (size_t i = 0; i < owned.size(); ++i)
      check(*owned[i], *form->Owned()[i]);
  }
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  FreeMessageTable();
}

TEST(ShippedLanguage, EnglishHasEveryKeyTheProgramLooksUp) {
  namespace fs = std::filesystem;
  std::string english;
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Langs/English.lng", &english));
  auto has = [&](const std::string& key) { return english.find("\n*" + key + "=") != std::string::npos; };
  const std::regex lookup(R"re((?:LangText|ErrorMessageByKey)\("([A-Za-z_][A-Za-z0-9_.]*[A-Za-z0-9_])")re");
  int keys = 0;
  for (const char* folder : {"files", "forms", "text", "settings", "tables", "formats", "docking", "controls",
                             "toolkit", "dialogs", "bar"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TOVIRA_SOURCE_DIR) / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      std::ifstream in(entry.path());
      const std::string code((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (std::sregex_iterator m(code.begin(), code.end(), lookup), end; m != end; ++m, ++keys)
        EXPECT_TRUE(has((*m)[1])) << (*m)[1] << " (" << entry.path().filename().string() << ")";
    }
  }
  EXPECT_GT(keys, 5);
  std::string tpl, italian;
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Config/Settings.tpl", &tpl));
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Langs/Italiano.lng", &italian));
  std::string section;
  for (const std::string& line : TextLines(tpl)) {
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      EXPECT_TRUE(has("Config." + section)) << section;
      // Every page has a help text in both shipped languages.
      EXPECT_TRUE(has("Config." + section + ".Hint")) << section;
      EXPECT_NE(italian.find("\n*Config." + section + ".Hint="), std::string::npos) << section;
    } else if (size_t eq = line.find('='); eq != std::string::npos) {
      const std::string key = "Config." + section + "." + line.substr(0, eq);
      EXPECT_TRUE(has(key)) << key;
      EXPECT_TRUE(has(key + ".Hint")) << key;
    }
  }
}
#endif

}  // namespace
}  // namespace tov
