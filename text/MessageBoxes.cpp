#include "text/MessageBoxes.h"

#include "platform/Platform.h"
#include "text/Texts.h"

namespace tov {

namespace {

std::string& Title() {
  static std::string title = "Tovira";
  return title;
}

}  // namespace

const std::string& AppTitle() { return Title(); }
void SetAppTitle(const std::string& title) { Title() = title; }

int AppMessageBox(const std::string& text, const std::string& caption, uint32_t style) {
  return Dialogs().MessageBox(text, caption, style);
}

void MessageBoxInfo(const std::string& text, const std::string& caption) { AppMessageBox(text, caption, kBoxInfo); }
void MessageBoxError(const std::string& text, const std::string& caption) { AppMessageBox(text, caption, kBoxError); }
int MessageBoxYesNo(const std::string& text, const std::string& caption) {
  return AppMessageBox(text, caption, kBoxYesNo);
}

void ShowException(const std::string& message) {
  std::string text = message.empty() ? std::string("Unknown exception") : message;
  if (text.back() != '.') text += '.';
  AppMessageBox(text, AppTitle(), kBoxError);
}

void ErrorMessage(const std::string& text) { MessageBoxError(text, AppTitle() + " - Errore"); }

void ErrorMessageTitled(const std::string& text, const std::string& title) {
  MessageBoxError(text, AppTitle() + " - " + title);
}

void ErrorMessageByKey(const std::string& key, const std::string& def) {
  std::string titleWord = LangText("Message.Error", "Errore");
  std::string entry = LangText(key, titleWord + "\u00A7" + def);
  const std::string mark = "\u00A7";  // the section sign
  size_t p = entry.find(mark);
  std::string title = p == std::string::npos ? std::string() : entry.substr(0, p);
  std::string text = p == std::string::npos ? entry : entry.substr(p + mark.size());
  if (title.empty())
    ErrorMessage(text);
  else
    ErrorMessageTitled(text, title);
}

std::string DeleteConfirmTitle() { return LangText("Messages.TtlConfermaEliminazione", "Conferma eliminazione"); }

bool ConfirmDeleteFiles() {
  const std::string title = DeleteConfirmTitle();
  return MessageBoxYesNo(
             LangText("Messages.ConfermaEliminazioneFile", "Si desidera eliminare anche i file nella cartella?"),
             title) == IDYES &&
         MessageBoxYesNo(LangText("Messages.ConfermaEliminazioneFile2",
                                  "Questa operazione canceller\u00E0 i file associati cartella. Confermi?"),
                         title) == IDYES;
}

}  // namespace tov
