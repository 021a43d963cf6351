// A crash is never silent: the process's last-chance handler writes the
// report text (with the module and section of the faulting address), a
// minidump and an entry in the day's log into the Debug folder and tells
// the user; the system is asked to start the bar again; the next start tells
// the user once and offers the report window on what was written.
#pragma once
#include <string>

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

// The handler's paths and texts for the copy in this slot, in the current
// language.
CrashSetup MakeCrashSetup(int slot);
// Installs the handler and registers the program for a restart after a crash.
void InstallCrashReporting(int slot);
// When this copy's previous run crashed (its mark is there): the mark goes,
// the user is told where the report is and may open the report window on
// it. True when there was a crash to tell.
bool TellPreviousCrash(WindowId owner, int slot);

}  // namespace tov
