#include <gtest/gtest.h>

#include "ui/Supportlanguage.h"

namespace tov {
namespace {

TEST(LangText, LooksUpWithoutCaseFirstEntryWinsEmptyIsAbsent) {
  FreeMessageTable();
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Benvenuto");
  SetMessageTable(
      {"Messages.FirstRun=Welcome", "messages.firstrun=Second", "Messages.Vuoto=", "Senza uguale", "Messages.A=b=c"});
  EXPECT_TRUE(HasMessageTable());
  EXPECT_EQ(LangText("MESSAGES.FIRSTRUN", "x"), "Welcome");
  EXPECT_EQ(LangText("Messages.Vuoto", "predefinito"), "predefinito");
  EXPECT_EQ(LangText("Senza uguale", "d"), "d");
  EXPECT_EQ(LangText("Messages.A", "d"), "b=c");
  EXPECT_EQ(LangText("Messages", "d"), "d");
  FreeMessageTable();
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Benvenuto");
}

}  // namespace
}  // namespace tov
