// Every form the program ships, as its code builds it: each event that names
// a handler finds one. A handler renamed in the code but not in the form
// (or the other way round) would otherwise leave a button that does nothing.
#include <gtest/gtest.h>

#include "bar/BarWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ButtonLayout.h"
#include "dialogs/ErrorReport.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StandardPrompt.h"
#include "settings/UserData.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct HandlerWiringTest : testing::BarFixture {};

TEST_F(HandlerWiringTest, EveryEventOfEveryShippedFormFindsItsHandler) {
  Start();
  EXPECT_EQ(bar->FormComponent().UnwiredHandlers(), std::vector<std::string>{}) << "the bar";
  const std::string language = program.Settings().Lingua;
  TFormAboutBox about(language);
  EXPECT_EQ(about.Form().UnwiredHandlers(), std::vector<std::string>{}) << "the about box";
  TFormButtonLayout layout(*dc, program.UserStore(), language, [] {});
  EXPECT_EQ(layout.Form().UnwiredHandlers(), std::vector<std::string>{}) << "the button layout";
  TFormExceptMessage report(language);
  EXPECT_EQ(report.Form().UnwiredHandlers(), std::vector<std::string>{}) << "the error report";
  TSettingsDialog settings(program.UserStore(), "", language);
  EXPECT_EQ(settings.Form().UnwiredHandlers(), std::vector<std::string>{}) << "the settings";
  TFormStandardPrompt prompt;
  EXPECT_EQ(prompt.Form().UnwiredHandlers(), std::vector<std::string>{}) << "the prompt";
}

}  // namespace
}  // namespace tov
