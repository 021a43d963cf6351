// The last-chance crash handler. Everything it needs is made when it is
// installed: the setup is copied into fixed storage, dbghelp is loaded, and a
// writer thread with a stack of its own waits on an event. A crash (an
// unhandled structured exception of any thread, a stack overflow as soon as
// it is raised, std::terminate, a pure virtual call, an invalid parameter of
// the C run-time, abort) only records where it happened, wakes the writer and
// waits: the crashed thread's stack may be exhausted. The writer writes the
// report, the day's log, the marker and the minidump with plain Win32 calls
// into fixed buffers, starts the program's executable with the command line
// made at install (that process tells the user and starts the bar again:
// no window is shown by the crashed process, whose threads may hold the
// heap's or the loader's lock) and ends the process with the exception's
// code.
#include <csignal>
#include <cstdlib>
#include <exception>

#include "platform/win32/Win32CrashReport.h"
#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Late.h"

namespace tov::win32 {

using namespace crash;

namespace {

// GCC's own exceptions on their way up: continued, the C++ run-time then
// calls std::terminate (what the start-up code of mingw-w64 does).
constexpr DWORD kGccExceptionMask = 0x20FFFFFF, kGccException = 0x20474343;
// How long the crashed thread waits for the files before ending anyway.
constexpr DWORD kFilesTimeoutMs = 120000;
// The stack the installing thread keeps for the dispatch of its overflow.
constexpr ULONG kStackReserve = 64 * 1024;

// Two setups: a new install fills the one the handler does not read, then
// switches. Installs take the lock; the crash path takes none.
StoredSetup setups[2];
volatile LONG activeSetup = -1;
SRWLOCK installLock = SRWLOCK_INIT;

MiniDumpWriteDumpFn writeDump = nullptr;
HANDLE wakeWriter = nullptr;  // set by the crashed thread
HANDLE filesWritten = nullptr;
HANDLE writerThread = nullptr;
DWORD writerThreadId = 0;

// The crash being reported.
volatile LONG crashing = 0;
DWORD crashedThreadId = 0;
DWORD crashCode = 0;
EXCEPTION_POINTERS* crashPointers = nullptr;

bool Copy(char* to, size_t size, const std::string& from) {
  if (from.size() >= size) return false;
  from.copy(to, from.size());
  to[from.size()] = '\0';
  return true;
}

[[noreturn]] void End(DWORD code) {
  TerminateProcess(GetCurrentProcess(), code);
  for (;;)
    Sleep(INFINITE);
}

DWORD WINAPI WriterMain(void*) {
  WaitForSingleObject(wakeWriter, INFINITE);
  const StoredSetup& s = setups[activeSetup];
  WriteCrashFiles(s, crashPointers, crashedThreadId, writeDump);
  SetEvent(filesWritten);
  StartAfterCrash(s);
  End(crashCode);
}

// Returns for the first crash only: a crash within the reporting ends the
// process at once, a crash of another thread meanwhile waits for the writer
// to end it.
void Enter(DWORD code) {
  const DWORD self = GetCurrentThreadId();
  if (InterlockedCompareExchange(&crashing, 1, 0) == 0) {
    crashedThreadId = self;
    crashCode = code;
    return;
  }
  if (self == writerThreadId || self == crashedThreadId) End(crashCode ? crashCode : code);
  for (;;)
    Sleep(INFINITE);
}

[[noreturn]] void Report(EXCEPTION_POINTERS* pointers) {
  crashPointers = pointers;
  if (writerThread && SetEvent(wakeWriter)) {
    // The writer ends the process once the process that tells is started.
    if (WaitForSingleObject(filesWritten, kFilesTimeoutMs) == WAIT_OBJECT_0)
      WaitForSingleObject(writerThread, INFINITE);
  } else {
    const StoredSetup& s = setups[activeSetup];
    WriteCrashFiles(s, crashPointers, crashedThreadId, writeDump);
    StartAfterCrash(s);
  }
  End(crashCode);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& r = *pointers->ExceptionRecord;
  if ((r.ExceptionCode & kGccExceptionMask) == kGccException && !(r.ExceptionFlags & EXCEPTION_NONCONTINUABLE))
    return EXCEPTION_CONTINUE_EXECUTION;
  Enter(r.ExceptionCode);
  Report(pointers);
}

// A stack overflow is taken at once, before the system looks for handlers in
// the frames: walking them needs more of the exhausted stack than may be
// left (Wine ends the thread when it runs out a second time).
LONG WINAPI OnFirstChanceException(EXCEPTION_POINTERS* pointers) {
  if (pointers->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW) return EXCEPTION_CONTINUE_SEARCH;
  Enter(EXCEPTION_STACK_OVERFLOW);
  Report(pointers);
}

// A crash without an exception: the context where the handler was called,
// and the caller's address as the exception's.
[[noreturn]] __attribute__((noinline)) void ReportWithoutException(DWORD code, void* address) {
  Enter(code);
  alignas(16) static CONTEXT context;
  static EXCEPTION_RECORD record;
  static EXCEPTION_POINTERS pointers;
  RtlCaptureContext(&context);
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = address;
  pointers.ExceptionRecord = &record;
  pointers.ContextRecord = &context;
  Report(&pointers);
}

[[noreturn]] __attribute__((noinline)) void OnTerminate() {
  ReportWithoutException(kCodeTerminate, __builtin_return_address(0));
}

__attribute__((noinline)) void __cdecl OnPureCall() {
  ReportWithoutException(kCodePureCall, __builtin_return_address(0));
}

__attribute__((noinline)) void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned,
                                                          uintptr_t) {
  ReportWithoutException(kCodeInvalidParameter, __builtin_return_address(0));
}

__attribute__((noinline)) void __cdecl OnAbortSignal(int) {
  ReportWithoutException(kCodeAbort, __builtin_return_address(0));
}

// The C run-time this program links keeps the handlers it is given; the
// run-time DLLs loaded besides (other modules' code) get them too where they
// offer the calls.
void SetRunTimeHandlers() {
  std::set_terminate(OnTerminate);
  _set_purecall_handler(OnPureCall);
  _set_invalid_parameter_handler(OnInvalidParameter);
  std::signal(SIGABRT, OnAbortSignal);
  for (const char* name : {"msvcrt.dll", "ucrtbase.dll"}) {
    HMODULE crt = GetModuleHandleA(name);
    if (!crt) continue;
    if (auto set = FunctionOf<_purecall_handler(__cdecl*)(_purecall_handler)>(crt, "_set_purecall_handler"))
      set(OnPureCall);
    if (auto set = FunctionOf<_invalid_parameter_handler(__cdecl*)(_invalid_parameter_handler)>(
            crt, "_set_invalid_parameter_handler"))
      set(OnInvalidParameter);
  }
}

bool Fill(StoredSetup* to, const CrashSetup& from) {
  if (!Copy(to->folder, sizeof to->folder, from.folder) || !Copy(to->reportFile, kPathSize, from.reportFile) ||
      !Copy(to->dumpFile, kPathSize, from.dumpFile) || !Copy(to->markerFile, kPathSize, from.markerFile) ||
      !Copy(to->logPrefix, kPathSize, from.logPrefix))
    return false;
  // Known lines that do not fit are left out whole.
  Text known(to->knownLines, sizeof to->knownLines);
  for (const std::string& line : from.knownLines) {
    if (known.length + line.size() + 3 > known.capacity) break;
    known << line.c_str() << "\r\n";
  }
  to->hasLocale = ReadLocalePictures(&to->locale);
  to->moduleCount = ReadModuleNames(to->modules, kModuleCount);
  to->exePath[0] = to->commandLine[0] = L'\0';
  if (!from.afterCrash.empty()) {
    const std::wstring exe = OwnExecutable(), line = CommandLineOf(exe, from.afterCrash);
    if (exe.empty() || exe.size() >= kPathSize || line.size() >= sizeof to->commandLine / sizeof(wchar_t)) return false;
    exe.copy(to->exePath, exe.size());
    to->exePath[exe.size()] = L'\0';
    line.copy(to->commandLine, line.size());
    to->commandLine[line.size()] = L'\0';
  }
  return true;
}

// dbghelp, the events and the writer, once.
bool Prepare() {
  if (writerThread) return true;
  // dbghelp first: the modules' names taken next include it.
  if (!writeDump) {
    writeDump = LateFunction<MiniDumpWriteDumpFn>("dbghelp.dll", "MiniDumpWriteDump");
  }
  if (!wakeWriter) wakeWriter = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!filesWritten) filesWritten = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!wakeWriter || !filesWritten) return false;
  static void* firstChance = nullptr;
  if (!firstChance) firstChance = AddVectoredExceptionHandler(1, OnFirstChanceException);
  writerThread =
      CreateThread(nullptr, 1024 * 1024, WriterMain, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, &writerThreadId);
  // Without the writer the crashed thread writes by itself.
  return true;
}

}  // namespace

bool Win32Diagnostics::InstallCrashHandler(const CrashSetup& setup) {
  AcquireSRWLockExclusive(&installLock);
  const LONG next = activeSetup == 0 ? 1 : 0;
  const bool ok = crashing == 0 && Prepare() && Fill(&setups[next], setup);
  if (ok) {
    InterlockedExchange(&activeSetup, next);
    SetUnhandledExceptionFilter(OnUnhandledException);
    SetRunTimeHandlers();
    // The handler runs on an overflowed stack until the writer takes over:
    // this thread (the program's first) keeps a reserve for it. (Wine
    // commits its stacks whole and has no use for it.)
    ULONG reserve = kStackReserve;
    SetThreadStackGuarantee(&reserve);
  }
  ReleaseSRWLockExclusive(&installLock);
  return ok;
}

}  // namespace tov::win32

// GCC's code calls this for a pure virtual function (Microsoft's calls the
// run-time's _purecall): it takes the place of the C++ run-time's own, and
// does as that one does while no handler is installed.
extern "C" void __cxa_pure_virtual() {
  if (tov::win32::activeSetup >= 0) tov::win32::OnPureCall();
  static const char text[] = "pure virtual method called\n";
  DWORD wrote = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, sizeof text - 1, &wrote, nullptr);
  std::terminate();
}
