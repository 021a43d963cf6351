// The shipped English file translates every item of the bar window.
#include <gtest/gtest.h>

#include "tests/ShippedFiles.h"

#include <cstdio>

#include "forms/ToviraMainForm.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostPlatform.h"
#include "ui/Languagefiles.h"
#include "ui/Supportlanguage.h"

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
#endif

}  // namespace
}  // namespace tov
