// Boxes, their captions and the title carried by a message entry.
#include <gtest/gtest.h>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostPlatform.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {
namespace {

class MessageBoxesTest : public ::testing::Test {
 protected:
  void TearDown() override { FreeMessageTable(); }
  const host::ShownBox& Last() { return hp.Dialogs().shown.back(); }
  host::HostPlatform hp;
};

TEST_F(MessageBoxesTest, BoxesCarryTheirStyleAndAnswer) {
  MessageBoxInfo("Primo avvio", "Tovira");
  EXPECT_EQ(Last().style, 0x40u);
  EXPECT_EQ(Last().caption, "Tovira");
  hp.Dialogs().answers = {IDNO, IDYES};
  EXPECT_EQ(MessageBoxYesNo("Eliminare?", "Conferma"), IDNO);
  EXPECT_EQ(Last().style, 0x24u);
  EXPECT_EQ(MessageBoxYesNo("Eliminare?", "Conferma"), IDYES);
  ErrorMessage("Guasto");
  EXPECT_EQ(Last().caption, "Tovira - Errore");
  EXPECT_EQ(Last().style, 0x10u);
  ErrorMessageTitled("Guasto", "Collegamento");
  EXPECT_EQ(Last().caption, "Tovira - Collegamento");
}

TEST_F(MessageBoxesTest, ErrorByKeySplitsTitleAndTextAtTheFirstSectionSign) {
  // No table: the translated title word (here the default) and the default text.
  ErrorMessageByKey("Messages.Manca", "Testo predefinito");
  EXPECT_EQ(Last().caption, "Tovira - Errore");
  EXPECT_EQ(Last().text, "Testo predefinito");

  SetMessageTable({"Message.Error=Error",
                   "Messages.Link=Shortcut\u00A7"
                   "Cannot write\u00A7 the file",
                   "Messages.Plain=Just text", "Messages.Lead=\u00A7Leading"});
  ErrorMessageByKey("Messages.Manca", "Testo predefinito");
  EXPECT_EQ(Last().caption, "Tovira - Error");
  EXPECT_EQ(Last().text, "Testo predefinito");
  ErrorMessageByKey("messages.link", "x");
  EXPECT_EQ(Last().caption, "Tovira - Shortcut");
  EXPECT_EQ(Last().text, "Cannot write\u00A7 the file");
  ErrorMessageByKey("Messages.Plain", "x");
  EXPECT_EQ(Last().caption, "Tovira - Errore");
  EXPECT_EQ(Last().text, "Just text");
  ErrorMessageByKey("Messages.Lead", "x");
  EXPECT_EQ(Last().caption, "Tovira - Errore");
  EXPECT_EQ(Last().text, "Leading");
}

}  // namespace
}  // namespace tov
