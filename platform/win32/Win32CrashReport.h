// The two halves of the last-chance crash handler: Win32CrashHandler.cpp
// installs it and catches the crash, Win32CrashReport.cpp writes the files
// and starts the process that tells the user. Nothing here allocates or
// asks the loader: it runs after the crash, when the crashed thread may hold
// the heap's or the loader's lock. What the files need of the system (the
// modules' names, the locale's date and time pictures and names) is
// gathered at install.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/win32/WinApi.h"

#include <dbghelp.h>

namespace tov::win32::crash {

// Text appended into a fixed buffer, always terminated, cut where it is full.
struct Text {
  char* data;
  size_t capacity;
  size_t length = 0;

  Text(char* buffer, size_t size) : data(buffer), capacity(size) { data[0] = '\0'; }
  Text& operator<<(const char* s) {
    while (s && *s && length + 1 < capacity)
      data[length++] = *s++;
    data[length] = '\0';
    return *this;
  }
  Text& Put(char c) {
    if (length + 1 < capacity) data[length++] = c;
    data[length] = '\0';
    return *this;
  }
  // At least `digits` upper-case hexadecimal digits.
  Text& Hex(uint64_t value, int digits) { return Number(value, 16, digits); }
  Text& Decimal(uint64_t value) { return Number(value, 10, 1); }

 private:
  Text& Number(uint64_t value, unsigned base, int digits) {
    char reversed[24];
    int n = 0;
    do {
      reversed[n++] = "0123456789ABCDEF"[value % base];
      value /= base;
    } while ((value != 0 || n < digits) && n < int(sizeof reversed));
    while (n > 0)
      Put(reversed[--n]);
    return *this;
  }
};

// Codes of the crashes that come without a structured exception. The invalid
// parameter and abort have the codes Microsoft's run-time uses for them; the
// others are in the applications' range.
constexpr DWORD kCodeTerminate = 0xE0540001;
constexpr DWORD kCodePureCall = 0xE0540002;
constexpr DWORD kCodeInvalidParameter = 0xC0000417;  // STATUS_INVALID_CRUNTIME_PARAMETER
constexpr DWORD kCodeAbort = 0x40000015;             // STATUS_FATAL_APP_EXIT

// The locale's pictures and names, as GetDateFormatA and GetTimeFormatA
// read them: "dd/MM/yyyy", "HH:mm:ss" ...
constexpr size_t kNameSize = 80;
struct LocalePictures {
  char shortDate[kNameSize];
  char time[kNameSize];
  char am[kNameSize], pm[kNameSize];
  char dayNames[7][kNameSize], shortDayNames[7][kNameSize];  // Monday first
  char monthNames[12][kNameSize], shortMonthNames[12][kNameSize];
};
// The user's locale's, read at install; false when the system gives none.
bool ReadLocalePictures(LocalePictures* out);
// The date (d, dd, ddd, dddd, M ... MMMM, y, yy, yyyy) or the time (h, hh, H,
// HH, m, mm, s, ss, t, tt) written by the picture; text in single quotes and
// other characters as they are.
void FormatDate(Text& t, const char* picture, const SYSTEMTIME& when, const LocalePictures& names);
void FormatTime(Text& t, const char* picture, const SYSTEMTIME& when, const LocalePictures& names);

// The loaded modules' images and short names, taken at install.
constexpr size_t kModuleCount = 512;
struct ModuleName {
  uintptr_t base;
  char name[64];
};
// Fills modules[] with the process's modules; the count taken.
size_t ReadModuleNames(ModuleName* modules, size_t capacity);

// The setup, copied into fixed storage at install.
constexpr size_t kPathSize = 1024;
struct StoredSetup {
  char folder[kPathSize];
  char reportFile[kPathSize];
  char dumpFile[kPathSize];
  char markerFile[kPathSize];
  char logPrefix[kPathSize];
  char knownLines[16384];  // each line ended by CR LF
  LocalePictures locale;
  bool hasLocale;
  ModuleName modules[kModuleCount];
  size_t moduleCount;
  // The process started once the files are written: the program's own
  // executable and its whole command line (empty: none).
  wchar_t exePath[kPathSize];
  wchar_t commandLine[8192];
};

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

// The report, the day's log, the marker and the minidump (when writeDump is
// there) of the crash of thread threadId, in that order: a dump that cannot
// be written (a lock held by the crashed thread) leaves the others written.
void WriteCrashFiles(const StoredSetup& setup, EXCEPTION_POINTERS* pointers, DWORD threadId,
                     MiniDumpWriteDumpFn writeDump);
// Starts the setup's process after the crash, unless it has none.
void StartAfterCrash(const StoredSetup& setup);

}  // namespace tov::win32::crash
