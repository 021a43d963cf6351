#include "platform/host/HostDiagnostics.h"

#include <algorithm>

namespace tov::host {

bool HostDiagnostics::LocateAddress(uint64_t address, CodeLocation* out) {
  for (const Module& m : modules) {
    if (address < m.base || address >= m.base + m.size) continue;
    const uint64_t rva = address - m.base;
    for (size_t i = 0; i < m.sections.size(); ++i) {
      const auto& [start, span] = m.sections[i];
      if (rva < start || rva > uint64_t(start) + span) continue;
      *out = CodeLocation{m.file, int(i) + 1, uint32_t(rva - start)};
      return true;
    }
    return false;
  }
  return false;
}

bool HostDiagnostics::CaptureScreen(Bitmap* out) {
  if (screen.Empty()) return false;
  *out = screen;
  return true;
}

MailResult HostDiagnostics::SendMail(const std::string& subject, const std::string& body,
                                     const std::vector<std::string>& attachments, WindowId) {
  mails.push_back(Mail{subject, body, attachments});
  return mailAnswer;
}

bool HostDiagnostics::ShowInFolder(const std::string& path) {
  shownInFolder.push_back(path);
  return true;
}

bool HostDiagnostics::InstallCrashHandler(const CrashSetup& setup) {
  crashSetups.push_back(setup);
  return true;
}

bool HostDiagnostics::RegisterRestart() {
  ++restartRegistrations;
  return true;
}

bool HostDiagnostics::WaitForProcessEnd(uint32_t pid, uint32_t timeoutMs) {
  waitsForEnd.emplace_back(pid, timeoutMs);
  return std::find(runningProcesses.begin(), runningProcesses.end(), pid) == runningProcesses.end();
}

bool HostDiagnostics::StartProgramAgain(const std::vector<std::string>& arguments) {
  if (startFails) return false;
  startedAgain.push_back(arguments);
  return true;
}

}  // namespace tov::host
