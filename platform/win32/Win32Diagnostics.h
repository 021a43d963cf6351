// The diagnostics on the Win32 API: the loaded modules' section tables, a
// capture of the screen through GDI, Simple MAPI for the mail program, the
// shell for the file manager, and the process-wide crash handler
// (Win32CrashHandler.cpp).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Diagnostics.h"

namespace tov::win32 {

class Win32Diagnostics : public IDiagnostics {
 public:
  bool LocateAddress(uint64_t address, CodeLocation* out) override;
  bool CaptureScreen(Bitmap* out) override;
  // Win32Mail.cpp
  MailResult SendMail(const std::string& subject, const std::string& body, const std::vector<std::string>& attachments,
                      WindowId owner) override;
  bool ShowInFolder(const std::string& path) override;
  // Win32CrashHandler.cpp
  bool InstallCrashHandler(const CrashSetup& setup) override;
  bool RegisterRestart() override;
  uint32_t ProcessId() override;
  bool WaitForProcessEnd(uint32_t pid, uint32_t timeoutMs) override;
  bool StartProgramAgain(const std::vector<std::string>& arguments) override;
};

// This program's executable, whole ("" when the system cannot tell).
std::wstring OwnExecutable();
// The command line that starts exe with these arguments (in the ANSI code
// page), each quoted as the C run-time reads it back.
std::wstring CommandLineOf(const std::wstring& exe, const std::vector<std::string>& arguments);

// Where an address lies among the loaded modules, allocating nothing (the
// crash handler calls it): the module's file into file[size], the section
// (counted from 1) and the offset from its start. A section spans from its
// virtual address to that plus the larger of its virtual and raw sizes, both
// ends included. False when the address lies in no module, the module has no
// file name or no valid headers, or the address is in none of its sections.
bool LocateInModules(uintptr_t address, char* file, unsigned size, int* section, uint32_t* offset);
// The same within the image at imageBase, read in place without the loader
// (the crash handler's way).
bool LocateInImage(uintptr_t imageBase, uintptr_t address, int* section, uint32_t* offset);

}  // namespace tov::win32
