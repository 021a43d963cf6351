// tovira-tool crash-self, crash-thread, crash-told: crashes on purpose, for
// trying the last-chance crash handler (Windows only). crash-self installs
// the handler with its files in a folder and then fails in the way asked;
// unless --quiet, the handler then starts "tovira-tool crash-told FOLDER
// PID", which waits for the crashed process to end and writes "Told" in the
// folder. crash-thread crashes a running program from outside, with a thread
// started in it at an address where nothing lies.
#ifdef TOVIRA_WINDOWS
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/WinApi.h"
#include "tools/Tool.h"
#include "tools/ToolWindows.h"

namespace tov::tool {

// A pure virtual function called while the base is being made, through a
// pointer the optimiser cannot see through (and classes other files could
// derive from: the compiler cannot tell which functions a call may reach).
struct CrashBase {
  CrashBase();
  virtual ~CrashBase() = default;
  virtual void Run() = 0;
};
CrashBase* volatile underConstruction = nullptr;
__attribute__((noinline)) void RunUnderConstruction() { underConstruction->Run(); }
CrashBase::CrashBase() {
  underConstruction = this;
  RunUnderConstruction();
}
struct CrashDerived : CrashBase {
  void Run() override { underConstruction = nullptr; }
};

namespace {

const char* kSelfUsage = "crash-self FOLDER av|stack|terminate|purecall|invalid-param|wait [--quiet]";
const char* kThreadUsage = "crash-thread PID | crash-thread --window TITLE";
const char* kToldUsage = "crash-told FOLDER PID";

// An address where nothing lies, out of the optimiser's sight.
volatile uintptr_t nowhere = 0x10;

DWORD WINAPI WriteNowhere(void*) {
  *reinterpret_cast<volatile int*>(nowhere) = 1;
  return 0;
}

volatile unsigned depthLimit = 0xFFFFFFFF;

unsigned Recurse(unsigned depth) {
  volatile char frame[512];
  frame[0] = char(depth);
  if (depth >= depthLimit) return frame[0];
  return Recurse(depth + 1) + frame[0];
}

[[noreturn]] void Throw() { throw std::runtime_error("not caught"); }

int CrashSelf(const std::vector<std::string>& args) {
  // --quiet: the files only, no process started after the crash.
  const bool quiet = args.size() == 3 && args[2] == "--quiet";
  if (args.size() != 2 && !quiet) return Fail(std::string("usage: ") + kSelfUsage);
  std::string folder = args[0];
  if (folder.back() != '\\') folder += '\\';
  const std::string& kind = args[1];
  CrashSetup setup;
  setup.folder = folder;
  setup.reportFile = folder + "ExcpCrash.txt";
  setup.dumpFile = folder + "ExcpCrash.dmp";
  setup.markerFile = folder + "ExcpCrash.new";
  setup.logPrefix = folder + "Log_";
  setup.knownLines = {"Programma: tovira-tool (crash-self " + kind + ")", "App: test"};
  win32::Win32Diagnostics diagnostics;
  if (!quiet) setup.afterCrash = {"crash-told", args[0], std::to_string(diagnostics.ProcessId())};
  // A second install replaces the first setup.
  CrashSetup first = setup;
  first.knownLines = {"App: prima"};
  if (!diagnostics.InstallCrashHandler(first) || !diagnostics.InstallCrashHandler(setup))
    return Fail("cannot install the crash handler");

  if (kind == "av") {
    HANDLE thread = CreateThread(nullptr, 0, WriteNowhere, nullptr, 0, nullptr);
    if (thread) WaitForSingleObject(thread, INFINITE);
  } else if (kind == "stack") {
    std::printf("%u\n", Recurse(0));
  } else if (kind == "terminate") {
    Throw();
  } else if (kind == "purecall") {
    CrashDerived d;
  } else if (kind == "invalid-param") {
    // A C run-time that checks its parameters calls the handler; one that
    // only sets errno (msvcrt.dll) is then asked as a checking one would.
    char* volatile target = nullptr;
    strcpy_s(target, 0, "x");
    if (_invalid_parameter_handler handler = _get_invalid_parameter_handler())
      handler(L"target != NULL", L"strcpy_s", L"ToolCrash.cpp", __LINE__, 0);
  } else if (kind == "wait") {
    // Ready for crash-thread: the file says the handler is in place.
    HANDLE ready = CreateFileA((folder + "Ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    Sleep(60000);
  } else {
    return Fail(std::string("usage: ") + kSelfUsage);
  }
  return Fail("still running after crash-self " + kind);
}

// Started by the handler of crash-self: "Told" in the folder says
// "ended" once the crashed process has ended, "running" when it did not.
int CrashTold(const std::vector<std::string>& args) {
  if (args.size() != 2) return Fail(std::string("usage: ") + kToldUsage);
  std::string folder = args[0];
  if (folder.back() != '\\') folder += '\\';
  char* end = nullptr;
  const unsigned long pid = std::strtoul(args[1].c_str(), &end, 10);
  if (*end != '\0' || pid == 0) return Fail(std::string("usage: ") + kToldUsage);
  const bool ended = win32::Win32Diagnostics().WaitForProcessEnd(uint32_t(pid), 30000);
  const char* text = ended ? "ended" : "running";
  HANDLE told =
      CreateFileA((folder + "Told").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (told == INVALID_HANDLE_VALUE) return Fail("cannot write " + folder + "Told");
  DWORD wrote = 0;
  WriteFile(told, text, DWORD(std::strlen(text)), &wrote, nullptr);
  CloseHandle(told);
  return 0;
}

// The process of the visible top-level window with this title; 0 for none.
DWORD ProcessOfWindow(const std::string& title) {
  DWORD pid = 0;
  if (HWND window = FindVisibleWindow(title)) GetWindowThreadProcessId(window, &pid);
  return pid;
}

int CrashThread(const std::vector<std::string>& args) {
  unsigned long pid = 0;
  if (args.size() == 2 && args[0] == "--window") {
    pid = ProcessOfWindow(args[1]);
    if (pid == 0) return Fail("no window named " + args[1]);
  } else if (args.size() == 1) {
    char* end = nullptr;
    pid = std::strtoul(args[0].c_str(), &end, 10);
    if (*end != '\0') pid = 0;
  }
  if (pid == 0) return Fail(std::string("usage: ") + kThreadUsage);
  HANDLE process = OpenProcess(
      PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ,
      FALSE, DWORD(pid));
  if (!process) return Fail("cannot open process " + std::to_string(pid));
  HANDLE thread =
      CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(nowhere), nullptr, 0, nullptr);
  const bool started = thread != nullptr;
  if (thread) CloseHandle(thread);
  CloseHandle(process);
  return started ? 0 : Fail("cannot start a thread in process " + std::to_string(pid));
}

}  // namespace

TOVIRA_TOOL_COMMAND("crash-self", kSelfUsage, CrashSelf);
TOVIRA_TOOL_COMMAND("crash-thread", kThreadUsage, CrashThread);
TOVIRA_TOOL_COMMAND("crash-told", kToldUsage, CrashTold);

}  // namespace tov::tool
#endif
