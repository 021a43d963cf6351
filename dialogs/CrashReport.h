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

// The files of a crash in the Debug folder.
extern const char* const kCrashText;    // "ExcpCrash.txt"
extern const char* const kCrashDump;    // "ExcpCrash.dmp"
extern const char* const kCrashMarker;  // "ExcpCrash.new"

// The handler's paths and texts, in the current language.
CrashSetup MakeCrashSetup();
// Installs the handler and registers the program for a restart after a crash.
void InstallCrashReporting();
// When the previous run crashed (its marker is there): the marker goes, the
// user is told where the report is and may open the report window on it.
// True when there was a crash to tell.
bool TellPreviousCrash(WindowId owner);

}  // namespace tov
