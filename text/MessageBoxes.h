// Modal message boxes. Every box goes through AppMessageBox; the answer is
// the id of the button that closed it (IDOK, IDYES, IDNO ...).
#pragma once
#include <cstdint>
#include <string>

namespace tov {

// The application title that error captions start with ("Tovira" until the
// bar sets it at start-up).
const std::string& AppTitle();
void SetAppTitle(const std::string& title);

enum : uint32_t {
  kBoxInfo = 0x40,   // OK, information icon
  kBoxError = 0x10,  // OK, error icon
  kBoxYesNo = 0x24,  // Yes and No, question icon
};

int AppMessageBox(const std::string& text, const std::string& caption, uint32_t style);
void MessageBoxInfo(const std::string& text, const std::string& caption);
void MessageBoxError(const std::string& text, const std::string& caption);
// IDYES (6) means yes; anything else, closing the box included, means no.
int MessageBoxYesNo(const std::string& text, const std::string& caption);

// Error box captioned with the application title and " - Errore".
void ErrorMessage(const std::string& text);
// Error box captioned with the application title, " - " and the title word.
void ErrorMessageTitled(const std::string& text, const std::string& title);
// Error box whose text comes from the message table under key. An entry may
// carry its own title: "title§text". Without an entry the box shows def under
// the translated title word ("Message.Error", "Errore").
void ErrorMessageByKey(const std::string& key, const std::string& def);

// Deleting bar items: the caption of the questions, and the two questions
// on the items' files (delete them too? sure?), true only for yes and yes.
std::string DeleteConfirmTitle();
bool ConfirmDeleteFiles();

// The standard display of an exception that no handler caught: an error box
// under the application title with the exception's text, ending in a full
// stop. The start-up installs it (InstallExceptionDisplay, with the error
// report, in dialogs/ErrorReport.h).
void ShowException(const std::string& message);

}  // namespace tov
