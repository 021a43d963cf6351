// What the crash handler writes once the program has crashed: plain Win32
// calls and fixed buffers only.
#include "platform/win32/Win32CrashReport.h"

#include "platform/win32/Win32Diagnostics.h"

namespace tov::win32::crash {

namespace {

// The writer's buffers: static, so that nothing is allocated at crash time
// (one crash is written, by one thread).
char reportText[24576];
char logText[32768];
char messageText[8192];
char pathText[kPathSize + 64];
char moduleFile[kPathSize];

void ExceptionName(Text& t, const EXCEPTION_RECORD& r) {
  switch (r.ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
      t << "violazione di accesso";
      if (r.NumberParameters >= 2) {
        const ULONG_PTR kind = r.ExceptionInformation[0];
        t << (kind == 0 ? " in lettura" : kind == 8 ? " in esecuzione" : " in scrittura");
        t << " all'indirizzo 0x";
        t.Hex(r.ExceptionInformation[1], 8);
      }
      break;
    case EXCEPTION_STACK_OVERFLOW:
      t << "overflow dello stack";
      break;
    case kCodeTerminate:
      t << "std::terminate";
      break;
    case kCodePureCall:
      t << "chiamata di funzione virtuale pura";
      break;
    case kCodeInvalidParameter:
      t << "parametro non valido nella libreria C";
      break;
    case kCodeAbort:
      t << "abort";
      break;
    default:
      t << "eccezione di sistema";
  }
}

// The report's lines, each ended by CR LF: the handler's own, the known
// ones, and where the address lies when it lies in a module.
void BuildReport(Text& t, const StoredSetup& s, const EXCEPTION_RECORD& r, DWORD threadId, const char* date,
                 const char* time) {
  t << "Arresto anomalo del programma: " << date << " " << time << "\r\n";
  t << "Eccezione: 0x";
  t.Hex(r.ExceptionCode, 8) << " (";
  ExceptionName(t, r);
  t << ").\r\n";
  t << "Indirizzo: '";
  t.Hex(uintptr_t(r.ExceptionAddress), 8) << "'.\r\n";
  t << "Thread: ";
  t.Decimal(threadId) << ".\r\n";
  t << s.knownLines;
  int section = 0;
  uint32_t offset = 0;
  if (LocateInModules(uintptr_t(r.ExceptionAddress), moduleFile, sizeof moduleFile, &section, &offset)) {
    const char* name = moduleFile;
    for (const char* p = moduleFile; *p; ++p)
      if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    t << "Map: ";
    for (int i = 0; i < 63 && name[i]; ++i)
      t.Put(name[i]);
    t << " ";
    t.Decimal(unsigned(section)) << " 0x";
    t.Hex(offset, 8) << "\r\n";
  }
}

bool WriteAll(HANDLE file, const char* data, size_t length) {
  while (length > 0) {
    DWORD wrote = 0;
    if (!WriteFile(file, data, DWORD(length), &wrote, nullptr) || wrote == 0) return false;
    data += wrote;
    length -= wrote;
  }
  return true;
}

void WriteNewFile(const char* path, const char* data, size_t length) {
  HANDLE f = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  WriteAll(f, data, length);
  CloseHandle(f);
}

// The day's log: every report line after one stamp, then a rule, appended.
void AppendToLog(const StoredSetup& s, const SYSTEMTIME& now, const char* stamp) {
  Text path(pathText, sizeof pathText);
  path << s.logPrefix;
  path.Decimal(now.wYear) << "_";
  path.Decimal(now.wMonth) << "_";
  path.Decimal(now.wDay) << ".log";
  Text log(logText, sizeof logText);
  for (const char* line = reportText; *line;) {
    log << stamp << ": ";
    while (*line && *line != '\r' && *line != '\n')
      log.Put(*line++);
    log << "\r\n";
    if (*line == '\r') ++line;
    if (*line == '\n') ++line;
  }
  log << stamp << ": ";
  for (int i = 0; i < 80; ++i)
    log.Put('-');
  log << "\r\n";
  HANDLE f = CreateFileA(pathText, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  WriteAll(f, log.data, log.length);
  CloseHandle(f);
}

void WriteDump(const StoredSetup& s, EXCEPTION_POINTERS* pointers, DWORD threadId, MiniDumpWriteDumpFn writeDump) {
  HANDLE f =
      CreateFileA(s.dumpFile, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  MINIDUMP_EXCEPTION_INFORMATION exception{};
  exception.ThreadId = threadId;
  exception.ExceptionPointers = pointers;
  exception.ClientPointers = FALSE;  // this process's own memory
  writeDump(GetCurrentProcess(), GetCurrentProcessId(), f,
            MINIDUMP_TYPE(MiniDumpWithIndirectlyReferencedMemory | MiniDumpWithDataSegs), &exception, nullptr, nullptr);
  CloseHandle(f);
}

}  // namespace

void WriteCrashFiles(const StoredSetup& s, EXCEPTION_POINTERS* pointers, DWORD threadId,
                     MiniDumpWriteDumpFn writeDump) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[80], time[80];
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date)) date[0] = '\0';
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time)) time[0] = '\0';
  Text report(reportText, sizeof reportText);
  BuildReport(report, s, *pointers->ExceptionRecord, threadId, date, time);
  WriteNewFile(s.reportFile, report.data, report.length);
  // The log's stamp leaves the time out at exactly midnight, as the
  // program's own log does.
  char stamp[168];
  Text st(stamp, sizeof stamp);
  st << date;
  if (now.wHour != 0 || now.wMinute != 0 || now.wSecond != 0) st << " " << time;
  AppendToLog(s, now, stamp);
  WriteNewFile(s.markerFile, "", 0);
  if (writeDump) WriteDump(s, pointers, threadId, writeDump);
}

void TellUserOfCrash(const StoredSetup& s) {
  if (!s.showBox) return;
  Text text(messageText, sizeof messageText);
  for (const char* p = s.message; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      text << s.folder;
      ++p;
    } else {
      text.Put(*p);
    }
  }
  MessageBoxA(nullptr, text.data, s.caption, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL | MB_SETFOREGROUND);
}

}  // namespace tov::win32::crash
