#include "dialogs/CrashReport.h"

#include "base/Product.h"
#include "base/Strings.h"
#include "dialogs/ErrorReport.h"
#include "platform/Platform.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

const char* const kCrashText = "ExcpCrash.txt";
const char* const kCrashDump = "ExcpCrash.dmp";
const char* const kCrashMarker = "ExcpCrash.new";

CrashSetup MakeCrashSetup() {
  CrashSetup s;
  s.folder = DebugFolder();
  s.reportFile = s.folder + kCrashText;
  s.dumpFile = s.folder + kCrashDump;
  s.markerFile = s.folder + kCrashMarker;
  s.logPrefix = s.folder + "Log_";
  s.knownLines = ProgramReportLines();
  s.knownLines.insert(s.knownLines.begin(), std::string("Programma: ") + AppTitle() + " (" + kProductName + ")");
  s.messageCaption = AppTitle() + " - " + LangText("Message.Error", "Errore");
  s.messageText = LangText("Messages.CrashText",
                           "Il programma si \xE8 interrotto per un errore inatteso.\n\nIl rapporto dell'errore \xE8 "
                           "stato scritto nella cartella \"%s\"; alla prossima partenza lo si potr\xE0 rivedere e "
                           "inviare all'assistenza.");
  return s;
}

void InstallCrashReporting() {
  if (!Sys().diagnostics) return;
  Diagnostics().InstallCrashHandler(MakeCrashSetup());
  Diagnostics().RegisterRestart();
}

bool TellPreviousCrash(WindowId owner) {
  const std::string marker = DebugFile(kCrashMarker);
  if (!Files().FileExists(marker)) return false;
  // Told once, even when the marker cannot go: a second try would only
  // repeat the question at every start.
  Files().DeleteFile(marker);
  const std::string text = DebugFile(kCrashText);
  const int answer = MessageBoxYesNo(
      FormatText(LangText("Messages.PreviousCrash",
                          "L'ultima esecuzione del programma si \xE8 interrotta per un errore. Il rapporto \xE8 "
                          "nel file \"%s\".\n\nAprire la finestra del rapporto?"),
                 {text}),
      AppTitle());
  if (answer != IDYES) return true;
  try {
    TFormExceptMessage window;
    window.ShowSavedReport(text, DebugFile(kCrashDump), owner);
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
  return true;
}

}  // namespace tov
