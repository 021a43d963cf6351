#include "dialogs/CrashReport.h"

#include <cstdlib>

#include "base/Product.h"
#include "base/Strings.h"
#include "dialogs/ErrorReport.h"
#include "platform/Platform.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

namespace {

// When and how this run of the program started.
struct ProgramStart {
  bool noted = false;
  uint32_t tick = 0;
  std::vector<std::string> arguments;
};
ProgramStart& ThisRun() {
  static ProgramStart run;
  return run;
}

// A decimal number read whole, optionally negative, within [low, high].
bool ReadNumber(const std::string& text, long long low, long long high, long long* out) {
  if (text.empty() || text.size() > 20) return false;
  size_t at = text[0] == '-' ? 1 : 0;
  if (at == text.size()) return false;
  long long value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    value = value * 10 + (text[at] - '0');
    if (value > high && value > -low) return false;
  }
  if (text[0] == '-') value = -value;
  if (value < low || value > high) return false;
  *out = value;
  return true;
}

std::string CrashCaption() { return AppTitle() + " - " + LangText("Message.Error", "Errore"); }

}  // namespace

const char* const kCrashedSwitch = "/crashed";

std::string CrashFileName(CrashFile file, int slot) {
  const char* ext = file == CrashFile::Text ? ".txt" : file == CrashFile::Dump ? ".dmp" : ".new";
  return std::string("ExcpCrash") + (slot == 0 ? std::string() : std::to_string(slot)) + ext;
}

std::vector<std::string> AfterCrashArguments(const AfterCrash& run) {
  std::vector<std::string> args = {kCrashedSwitch, std::to_string(run.pid), std::to_string(run.slot),
                                   std::to_string(run.startTick), run.language};
  args.insert(args.end(), run.arguments.begin(), run.arguments.end());
  return args;
}

bool ParseAfterCrash(const std::vector<std::string>& args, AfterCrash* out) {
  if (args.size() < 5 || args[0] != kCrashedSwitch) return false;
  long long pid = 0, slot = 0, start = 0;
  if (!ReadNumber(args[1], 1, 0xFFFFFFFFLL, &pid) || !ReadNumber(args[2], -1, 1000, &slot) ||
      !ReadNumber(args[3], 0, 0xFFFFFFFFLL, &start))
    return false;
  out->pid = uint32_t(pid);
  out->slot = int(slot);
  out->startTick = uint32_t(start);
  out->language = args[4];
  out->arguments.assign(args.begin() + 5, args.end());
  return true;
}

bool RestartsAfterCrash(uint32_t startTick, uint32_t crashTick) {
  return uint32_t(crashTick - startTick) >= kNoRestartWithinMs;
}

void NoteProgramStart(const std::vector<std::string>& arguments) {
  ProgramStart& run = ThisRun();
  run.noted = true;
  run.tick = System().TickCount();
  run.arguments = arguments;
}

CrashSetup MakeCrashSetup(int slot, const std::string& language) {
  CrashSetup s;
  s.folder = DebugFolder();
  s.reportFile = s.folder + CrashFileName(CrashFile::Text, slot);
  s.dumpFile = s.folder + CrashFileName(CrashFile::Dump, slot);
  s.markerFile = s.folder + CrashFileName(CrashFile::Marker, slot);
  s.logPrefix = s.folder + "Log_";
  s.knownLines = ProgramReportLines();
  s.knownLines.insert(s.knownLines.begin(), std::string("Programma: ") + AppTitle() + " (" + kProductName + ")");
  ProgramStart& start = ThisRun();
  if (!start.noted) NoteProgramStart({});
  AfterCrash after;
  after.pid = Diagnostics().ProcessId();
  after.slot = slot;
  after.startTick = start.tick;
  after.language = language;
  after.arguments = start.arguments;
  s.afterCrash = AfterCrashArguments(after);
  return s;
}

void InstallCrashReporting(int slot, const std::string& language) {
  if (!Sys().diagnostics) return;
  Diagnostics().InstallCrashHandler(MakeCrashSetup(slot, language));
  Diagnostics().RegisterRestart();
}

bool TakeCrashMark(int slot) {
  const std::string marker = DebugFolder() + CrashFileName(CrashFile::Marker, slot);
  if (!Files().FileExists(marker)) return false;
  // Told once, even when the marker cannot go: a second try would only
  // repeat the question at every start.
  Files().DeleteFile(marker);
  return true;
}

void OfferCrashReport(WindowId owner, int slot, const std::string& question, const std::string& caption,
                      const std::string& language) {
  if (MessageBoxYesNo(question, caption) != IDYES) return;
  try {
    TFormExceptMessage window(language);
    window.ShowSavedReport(DebugFolder() + CrashFileName(CrashFile::Text, slot),
                           DebugFolder() + CrashFileName(CrashFile::Dump, slot), owner);
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
}

bool TellPreviousCrash(WindowId owner, int slot, const std::string& language) {
  if (!TakeCrashMark(slot)) return false;
  const std::string text = DebugFolder() + CrashFileName(CrashFile::Text, slot);
  OfferCrashReport(owner, slot,
                   FormatText(LangText("Messages.PreviousCrash",
                                       "L'ultima esecuzione del programma si \u00E8 interrotta per un errore. Il "
                                       "rapporto \u00E8 nel file \"%s\".\n\nAprire la finestra del rapporto?"),
                              {text}),
                   AppTitle(), language);
  return true;
}

int RunAfterCrash(const AfterCrash& run) {
  // The crash was a moment ago: the handler starts this process once the
  // files are written.
  const uint32_t crashTick = System().TickCount();
  if (!run.language.empty() && Files().FileExists(LanguageFilePath(run.language)))
    LoadMessageTable(LanguageFilePath(run.language));
  const bool ended = Diagnostics().WaitForProcessEnd(run.pid, kCrashedEndTimeoutMs);
  // Taken before the bar starts again, which would tell it once more.
  TakeCrashMark(run.slot);
  std::string outcome;
  if (!RestartsAfterCrash(run.startTick, crashTick)) {
    outcome = LangText("Messages.CrashTooSoon",
                       "Il programma era partito da meno di un minuto: non viene riavviato, perch\u00E9 l'errore non "
                       "si ripeta. Lo si pu\u00F2 avviare a mano.");
  } else if (ended && Diagnostics().StartProgramAgain(run.arguments)) {
    outcome = LangText("Messages.CrashRestarted", "Il programma \u00E8 stato riavviato.");
  } else {
    outcome = LangText("Messages.CrashNotRestarted",
                       "Non \u00E8 stato possibile riavviare il programma: lo si pu\u00F2 avviare a mano.");
  }
  const std::string text = DebugFolder() + CrashFileName(CrashFile::Text, run.slot);
  const std::string question = FormatText(LangText("Messages.CrashText",
                                                   "Il programma si \u00E8 interrotto per un errore inatteso. Il "
                                                   "rapporto dell'errore \u00E8 nel file \"%s\"."),
                                          {text}) +
                               "\n\n" + outcome + "\n\n" +
                               LangText("Messages.CrashOfferReport", "Aprire la finestra del rapporto?");
  // The report window in the language of the bar that crashed.
  OfferCrashReport(0, run.slot, question, CrashCaption(), run.language);
  return 0;
}

}  // namespace tov
