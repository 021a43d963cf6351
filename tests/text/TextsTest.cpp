#include <gtest/gtest.h>

#include "text/Texts.h"

namespace tov {
namespace {

TEST(LangText, LooksUpWithoutCaseFirstEntryWinsEmptyIsAbsent) {
  FreeMessageTable();
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Benvenuto");
  SetMessageTable({"Messages.FirstRun=Welcome", "messages.firstrun=Second", "Messages.Vuoto=", "Senza uguale",
                   "Messages.A=b=c", "Messages.Citt\u00E0\u0161=accented"});
  EXPECT_TRUE(HasMessageTable());
  EXPECT_EQ(LangText("MESSAGES.FIRSTRUN", "x"), "Welcome");
  EXPECT_EQ(LangText("Messages.Vuoto", "predefinito"), "predefinito");
  EXPECT_EQ(LangText("Senza uguale", "d"), "d");
  EXPECT_EQ(LangText("Messages.A", "d"), "b=c");
  EXPECT_EQ(LangText("Messages", "d"), "d");
  // The locale's letter case: accented letters and s caron too.
  EXPECT_EQ(LangText("MESSAGES.CITT\u00C0\u0160", "d"), "accented");
  FreeMessageTable();
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Benvenuto");
}

}  // namespace
}  // namespace tov
