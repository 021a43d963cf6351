// What the crash handler writes once the program has crashed: plain Win32
// calls and fixed buffers only, and what it gathers for that at install.
#include "platform/win32/Win32CrashReport.h"

#include <tlhelp32.h>

#include "platform/win32/Win32Diagnostics.h"

namespace tov::win32::crash {

namespace {

// The writer's buffers: static, so that nothing is allocated at crash time
// (one crash is written, by one thread).
char reportText[24576];
char logText[32768];
char pathText[kPathSize + 64];
wchar_t commandLine[8192];

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
  const char* name = nullptr;
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(r.ExceptionAddress, &region, sizeof region) && region.State != MEM_FREE && region.AllocationBase) {
    for (size_t i = 0; i < s.moduleCount && !name; ++i)
      if (s.modules[i].base == uintptr_t(region.AllocationBase)) name = s.modules[i].name;
  }
  // A module loaded after the install has no name here: the minidump lists it.
  if (name && LocateInImage(uintptr_t(region.AllocationBase), uintptr_t(r.ExceptionAddress), &section, &offset)) {
    t << "Map: ";
    for (int i = 0; i < 63 && name[i]; ++i)
      t.Put(name[i]);
    t << " ";
    t.Decimal(unsigned(section)) << " 0x";
    t.Hex(offset, 8) << "\r\n";
  }
}

void Digits(Text& t, unsigned value, int count) {
  if (count >= 2 && value < 10) t.Put('0');
  t.Decimal(value);
}

// Runs of one letter: the picture's fields; the letters the kind knows are
// given to field(letter, run length), the rest written as they are.
template <typename Field>
void FormatPicture(Text& t, const char* picture, const char* letters, Field field) {
  for (const char* p = picture; *p;) {
    if (*p == '\'') {
      // Quoted text; '' inside stands for one quote.
      for (++p; *p; ++p) {
        if (*p == '\'' && p[1] == '\'') {
          t.Put('\'');
          ++p;
        } else if (*p == '\'') {
          ++p;
          break;
        } else {
          t.Put(*p);
        }
      }
      continue;
    }
    bool known = false;
    for (const char* l = letters; *l; ++l)
      known = known || *l == *p;
    if (!known) {
      t.Put(*p++);
      continue;
    }
    const char letter = *p;
    int run = 0;
    while (*p == letter) {
      ++p;
      ++run;
    }
    field(letter, run);
  }
}

}  // namespace

void FormatDate(Text& t, const char* picture, const SYSTEMTIME& when, const LocalePictures& names) {
  FormatPicture(t, picture, "dMyg", [&](char letter, int run) {
    const unsigned day = (unsigned(when.wDayOfWeek) + 6) % 7, month = (unsigned(when.wMonth) + 11) % 12;
    if (letter == 'd') {
      if (run <= 2)
        Digits(t, when.wDay, run);
      else
        t << (run == 3 ? names.shortDayNames[day] : names.dayNames[day]);
    } else if (letter == 'M') {
      if (run <= 2)
        Digits(t, when.wMonth, run);
      else
        t << (run == 3 ? names.shortMonthNames[month] : names.monthNames[month]);
    } else if (letter == 'y') {
      if (run <= 2)
        Digits(t, when.wYear % 100, run);
      else
        t.Decimal(when.wYear);
    }
    // 'g', the era, is left out.
  });
}

void FormatTime(Text& t, const char* picture, const SYSTEMTIME& when, const LocalePictures& names) {
  FormatPicture(t, picture, "hHmst", [&](char letter, int run) {
    const int count = run > 2 ? 2 : run;
    switch (letter) {
      case 'h':
        Digits(t, when.wHour % 12 == 0 ? 12 : when.wHour % 12, count);
        break;
      case 'H':
        Digits(t, when.wHour, count);
        break;
      case 'm':
        Digits(t, when.wMinute, count);
        break;
      case 's':
        Digits(t, when.wSecond, count);
        break;
      default: {
        const char* designator = when.wHour < 12 ? names.am : names.pm;
        if (run == 1)
          t.Put(designator[0]);
        else
          t << designator;
      }
    }
  });
}

bool ReadLocalePictures(LocalePictures* out) {
  auto read = [](LCTYPE type, char* to) {
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, to, int(kNameSize)) == 0) {
      to[0] = '\0';
      return false;
    }
    return true;
  };
  bool ok = read(LOCALE_SSHORTDATE, out->shortDate) && read(LOCALE_STIMEFORMAT, out->time);
  read(LOCALE_S1159, out->am);
  read(LOCALE_S2359, out->pm);
  for (int i = 0; i < 7; ++i) {
    read(LOCALE_SDAYNAME1 + i, out->dayNames[i]);
    read(LOCALE_SABBREVDAYNAME1 + i, out->shortDayNames[i]);
  }
  for (int i = 0; i < 12; ++i) {
    read(LOCALE_SMONTHNAME1 + i, out->monthNames[i]);
    read(LOCALE_SABBREVMONTHNAME1 + i, out->shortMonthNames[i]);
  }
  return ok;
}

size_t ReadModuleNames(ModuleName* modules, size_t capacity) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  size_t count = 0;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && count < capacity; more = Module32NextW(snapshot, &entry)) {
    ModuleName& m = modules[count++];
    m.base = uintptr_t(entry.modBaseAddr);
    if (!WideCharToMultiByte(CP_ACP, 0, entry.szModule, -1, m.name, int(sizeof m.name), nullptr, nullptr))
      m.name[0] = '\0';
  }
  CloseHandle(snapshot);
  return count;
}

namespace {

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
  // The locale's pictures, as the program's own log writes its stamps.
  char date[160], time[160];
  Text d(date, sizeof date), tm(time, sizeof time);
  if (s.hasLocale) {
    FormatDate(d, s.locale.shortDate, now, s.locale);
    FormatTime(tm, s.locale.time, now, s.locale);
  } else {
    FormatDate(d, "dd/MM/yyyy", now, s.locale);
    FormatTime(tm, "HH:mm:ss", now, s.locale);
  }
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

void StartAfterCrash(const StoredSetup& s) {
  if (!s.commandLine[0]) return;
  // The command line is the one made at install; CreateProcessW may write
  // into it, so it is copied into the writer's own buffer.
  size_t i = 0;
  for (; s.commandLine[i] && i + 1 < sizeof commandLine / sizeof commandLine[0]; ++i)
    commandLine[i] = s.commandLine[i];
  commandLine[i] = L'\0';
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessW(s.exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
}

}  // namespace tov::win32::crash
