// The diagnostics of the headless platform: modules and a screen that tests
// set, a mail program that answers from a script, and a crash handler that is
// only recorded.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/Diagnostics.h"

namespace tov::host {

class HostDiagnostics : public IDiagnostics {
 public:
  bool LocateAddress(uint64_t address, CodeLocation* out) override;
  bool CaptureScreen(Bitmap* out) override;
  MailResult SendMail(const std::string& subject, const std::string& body, const std::vector<std::string>& attachments,
                      WindowId owner) override;
  bool ShowInFolder(const std::string& path) override;
  bool InstallCrashHandler(const CrashSetup& setup) override;
  bool RegisterRestart() override;
  uint32_t ProcessId() override { return processId; }
  // Processes in runningProcesses never end; every other one has ended.
  bool WaitForProcessEnd(uint32_t pid, uint32_t timeoutMs) override;
  bool StartProgramAgain(const std::vector<std::string>& arguments) override;

  // A loaded module: its image spans [base, base + size); sections as
  // (virtual address, span) pairs in header order.
  struct Module {
    std::string file;
    uint64_t base = 0;
    uint64_t size = 0;
    std::vector<std::pair<uint32_t, uint32_t>> sections;
  };
  std::vector<Module> modules;
  Bitmap screen{64, 48, 0x00C08040};  // empty: the capture fails
  MailResult mailAnswer = MailResult::Sent;
  struct Mail {
    std::string subject, body;
    std::vector<std::string> attachments;
  };
  std::vector<Mail> mails;
  std::vector<std::string> shownInFolder;
  std::vector<CrashSetup> crashSetups;
  int restartRegistrations = 0;
  uint32_t processId = 4242;
  std::vector<uint32_t> runningProcesses;
  std::vector<std::pair<uint32_t, uint32_t>> waitsForEnd;  // (pid, timeout)
  std::vector<std::vector<std::string>> startedAgain;
  bool startFails = false;
};

}  // namespace tov::host
