// What the error report and the last-chance crash handler need of the system:
// where an address lies in the loaded modules, a capture of the screen, the
// user's mail program, the file manager, and the process-wide handler that
// records a crash.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Window.h"

namespace tov {

// An address within a loaded module: the module's file and the section of
// its image (counted from 1) with the offset from the section's start.
struct CodeLocation {
  std::string moduleFile;
  int section = 0;
  uint32_t offset = 0;
};

enum class MailResult { Sent, Cancelled, NoMailProgram, Failed };

// Everything the crash handler writes with, made before any crash: it then
// needs no allocation. Paths are whole; texts are in the ANSI code page.
struct CrashSetup {
  std::string folder;      // where the files go (the Debug folder), with its backslash
  std::string reportFile;  // the report text, one line per entry, CR LF
  std::string dumpFile;    // the minidump
  std::string markerFile;  // created empty after a crash: the next start tells the user
  std::string logPrefix;   // folder + "Log_": the day's log is prefix + "2026_12_10.log"
  // The report's lines known beforehand (program, version, system, user
  // folder); the handler writes its own lines (time, exception, address,
  // "Map:") before them.
  std::vector<std::string> knownLines;
  // Once the files are written, the program's own executable is started
  // with these arguments (the crashed process shows nothing itself: the new
  // process tells the user); empty: nothing is started.
  std::vector<std::string> afterCrash;
};

class IDiagnostics {
 public:
  virtual ~IDiagnostics() = default;
  // The module, section and offset of an address; false when it lies in no
  // loaded module (or in none of its sections).
  virtual bool LocateAddress(uint64_t address, CodeLocation* out) = 0;
  // The desktop window's area of the screen; false when it cannot be read.
  virtual bool CaptureScreen(Bitmap* out) = 0;
  // A new message in the user's mail program, shown for the user to send:
  // subject, body, the files attached.
  virtual MailResult SendMail(const std::string& subject, const std::string& body,
                              const std::vector<std::string>& attachments, WindowId owner) = 0;
  // A window of the file manager on the file's folder, the file selected.
  virtual bool ShowInFolder(const std::string& path) = 0;
  // Unhandled structured exceptions of every thread, std::terminate, pure
  // virtual calls and the C run-time's invalid parameters end in the handler,
  // which writes the files of the setup, starts the program's executable
  // with the setup's arguments and ends the process. Installing again
  // replaces the setup.
  virtual bool InstallCrashHandler(const CrashSetup& setup) = 0;
  // Asks the system to start the program again after an update or a restart
  // of the system, never after a crash (the crash handler's own process does
  // that, and the system's would make a second bar).
  virtual bool RegisterRestart() = 0;
  // This process's identifier.
  virtual uint32_t ProcessId() = 0;
  // Waits at most timeoutMs for the process to end: true when it has ended
  // (or no longer exists), false when it still runs or cannot be watched.
  virtual bool WaitForProcessEnd(uint32_t pid, uint32_t timeoutMs) = 0;
  // Starts the program's own executable again with these arguments, without
  // waiting for it; false when it could not be started.
  virtual bool StartProgramAgain(const std::vector<std::string>& arguments) = 0;
};

}  // namespace tov
