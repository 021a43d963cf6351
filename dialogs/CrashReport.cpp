#include "dialogs/CrashReport.h"

#include "base/Product.h"
#include "base/Strings.h"
#include "dialogs/ErrorReport.h"
#include "platform/Platform.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

std::string CrashFileName(CrashFile file, int slot) {
  const char* ext = file == CrashFile::Text ? ".txt" : file == CrashFile::Dump ? ".dmp" : ".new";
  return std::string("ExcpCrash") + (slot == 0 ? std::string() : std::to_string(slot)) + ext;
}

CrashSetup MakeCrashSetup(int slot) {
  CrashSetup s;
  s.folder = DebugFolder();
  s.reportFile = s.folder + CrashFileName(CrashFile::Text, slot);
  s.dumpFile = s.folder + CrashFileName(CrashFile::Dump, slot);
  s.markerFile = s.folder + CrashFileName(CrashFile::Marker, slot);
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

void InstallCrashReporting(int slot) {
  if (!Sys().diagnostics) return;
  Diagnostics().InstallCrashHandler(MakeCrashSetup(slot));
  Diagnostics().RegisterRestart();
}

bool TellPreviousCrash(WindowId owner, int slot) {
  const std::string marker = DebugFolder() + CrashFileName(CrashFile::Marker, slot);
  if (!Files().FileExists(marker)) return false;
  // Told once, even when the marker cannot go: a second try would only
  // repeat the question at every start.
  Files().DeleteFile(marker);
  const std::string text = DebugFolder() + CrashFileName(CrashFile::Text, slot);
  const int answer = MessageBoxYesNo(
      FormatText(LangText("Messages.PreviousCrash",
                          "L'ultima esecuzione del programma si \xE8 interrotta per un errore. Il rapporto \xE8 "
                          "nel file \"%s\".\n\nAprire la finestra del rapporto?"),
                 {text}),
      AppTitle());
  if (answer != IDYES) return true;
  try {
    TFormExceptMessage window;
    window.ShowSavedReport(text, DebugFolder() + CrashFileName(CrashFile::Dump, slot), owner);
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
  return true;
}

}  // namespace tov
