// A crash is never silent: the process's last-chance handler writes the
// report text (with the module and section of the faulting address), a
// minidump and an entry in the day's log into the Debug folder, then starts
// the program's executable again with the switch "/crashed" and ends. That
// new process waits for the crashed one to end, starts the bar again (unless
// it crashed within a minute of its start), tells the user and offers the
// report window. A crash whose new process never ran is told at the next
// start of the copy in its slot, with the same offer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Diagnostics.h"
#include "platform/Window.h"

namespace tov {

// The files of a crash in the Debug folder, one set for each copy of the
// program by its instance slot, so that copies side by side neither show
// each other's crash nor write over each other's report: slot 0 has
// "ExcpCrash.txt", "ExcpCrash.dmp" and the mark "ExcpCrash.new"; slot 3 has
// "ExcpCrash3.txt" ...; a copy without a slot (-1) "ExcpCrash-1.txt" ...
enum class CrashFile { Text, Dump, Marker };
std::string CrashFileName(CrashFile file, int slot);

// The process started after a crash has the command line
//   tovira.exe /crashed PID SLOT START LANGUAGE [ARGUMENT ...]
// PID: the crashed process; SLOT: its instance slot; START: the system's
// millisecond tick when it started; LANGUAGE: the bar's language then ("" for
// the default); the arguments the crashed bar was started with follow, and
// the bar is started again with them.
extern const char* const kCrashedSwitch;  // "/crashed"
struct AfterCrash {
  uint32_t pid = 0;
  int slot = 0;
  uint32_t startTick = 0;
  std::string language;
  std::vector<std::string> arguments;
};
// The arguments of that command line, the switch first.
std::vector<std::string> AfterCrashArguments(const AfterCrash& run);
// Reads them back: false when the first is not the switch or the numbers do
// not read whole.
bool ParseAfterCrash(const std::vector<std::string>& args, AfterCrash* out);

// A bar that crashed within a minute of its start is not started again: it
// would most likely crash again at once, and again. Ticks wrap (the
// difference is taken modulo 2^32).
constexpr uint32_t kNoRestartWithinMs = 60000;
bool RestartsAfterCrash(uint32_t startTick, uint32_t crashTick);

// How long the process started after a crash waits for the crashed one to
// end before it gives up starting the bar again.
constexpr uint32_t kCrashedEndTimeoutMs = 30000;

// Noted once, at the start of the program: when it started and with which
// arguments, for the process started after a crash.
void NoteProgramStart(const std::vector<std::string>& arguments);

// The handler's paths and the after-crash command line for the copy in this
// slot, in this language.
CrashSetup MakeCrashSetup(int slot, const std::string& language);
// Installs the handler (again, when the bar's language changes) and asks the
// system to start the program after an update or a restart of the system.
void InstallCrashReporting(int slot, const std::string& language = "");

// Takes this slot's crash mark: true when it was there (it is gone then, or
// cannot go: told once either way).
bool TakeCrashMark(int slot);
// Asks the question (Yes/No, with the caption); on Yes, shows the report
// window on the slot's report text and minidump, in the language given.
void OfferCrashReport(WindowId owner, int slot, const std::string& question, const std::string& caption,
                      const std::string& language);
// When this copy's previous run crashed (its mark is there): the mark goes,
// the user is told where the report is and may open the report window on
// it (in the language given). True when there was a crash to tell.
bool TellPreviousCrash(WindowId owner, int slot, const std::string& language);

// The process started after a crash: waits for the crashed process to end,
// takes its mark, starts the bar again unless it crashed within a minute of
// its start or did not end, then tells the user what happened and offers
// the report window. Returns the process's exit code.
int RunAfterCrash(const AfterCrash& run);

}  // namespace tov
