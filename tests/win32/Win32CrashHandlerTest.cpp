// The last-chance crash handler in a real process: tovira-tool crashes on
// purpose in each way the handler catches (and once from outside, through a
// thread started in it), and the files it leaves are read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/Win32CrashReport.h"
#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/WinApi.h"
#include "tests/win32/SystemProfile.h"

#include <shellapi.h>

namespace tov {
namespace {

namespace crash = win32::crash;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The lines of a text whose lines all end with CR LF; a lone LF or a missing
// last CR LF gives a line "<bad ending>".
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    lines.push_back(end == std::string::npos || line.find('\n') != std::string::npos ? "<bad ending>" : line);
    at = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

std::string DayLogName(const SYSTEMTIME& t) {
  return "Log_" + std::to_string(t.wYear) + "_" + std::to_string(t.wMonth) + "_" + std::to_string(t.wDay) + ".log";
}

PROCESS_INFORMATION Start(const std::string& arguments) {
  const std::string tool = testing::BuildFolder() + "tovira-tool.exe";
  std::string line = "\"" + tool + "\" " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessA(tool.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  EXPECT_TRUE(started) << line;
  return pi;
}

DWORD Finish(PROCESS_INFORMATION& pi) {
  DWORD code = 0;
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the crashed program did not end";
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

struct Expected {
  const char* kind;
  const char* selfKind;   // what crash-self is asked for
  const char* exception;  // the whole "Eccezione:" line
  bool mapped;            // the address lies in a module: a "Map:" line
  bool ownThread;         // the fault is in a thread other than the first
  bool tells = false;     // not --quiet: the handler starts crash-told
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.kind; }

struct CrashHandler : ::testing::TestWithParam<Expected> {
  CrashHandler() : folder(testing::MakeTempFolder(std::string("tovira-crash-") + GetParam().kind)) {}
  ~CrashHandler() override {
    for (const char* f : {"ExcpCrash.txt", "ExcpCrash.dmp", "ExcpCrash.new", "Ready", "Told"})
      DeleteFileA((folder + f).c_str());
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "Log_*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do
        DeleteFileA((folder + fd.cFileName).c_str());
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
  }

  // Checks every file the handler leaves.
  void CheckFiles(const Expected& e, DWORD exitCode, DWORD firstThread, const SYSTEMTIME& day) {
    const std::vector<std::string> report = CrLfLines(ReadAll(folder + "ExcpCrash.txt"));
    ASSERT_GE(report.size(), 6u) << ReadAll(folder + "ExcpCrash.txt");
    EXPECT_EQ(report[0].rfind("Arresto anomalo del programma: ", 0), 0u) << report[0];
    EXPECT_GT(report[0].size(), std::string("Arresto anomalo del programma: ").size() + 8);
    EXPECT_EQ(report[1], e.exception);
    EXPECT_EQ(report[2].rfind("Indirizzo: '", 0), 0u) << report[2];
    EXPECT_EQ(report[2].substr(report[2].size() - 2), "'.");
    EXPECT_GE(report[2].size(), std::string("Indirizzo: '00000000'.").size());
    // The thread that failed, not the one that wrote.
    ASSERT_EQ(report[3].rfind("Thread: ", 0), 0u) << report[3];
    const DWORD thread = DWORD(std::strtoul(report[3].c_str() + 8, nullptr, 10));
    EXPECT_NE(thread, 0u);
    EXPECT_EQ(thread != firstThread, e.ownThread) << thread;
    EXPECT_EQ(report[4], std::string("Programma: tovira-tool (crash-self ") + e.selfKind + ")");
    EXPECT_EQ(report[5], "App: test");  // the second setup replaced the first
    if (e.mapped) {
      ASSERT_EQ(report.size(), 7u);
      EXPECT_EQ(report[6].rfind("Map: tovira-tool.exe ", 0), 0u) << report[6];
      EXPECT_EQ(report[6].find(" 0x"), report[6].size() - 11) << report[6];
    } else {
      EXPECT_EQ(report.size(), 6u) << report.back();
    }
    // The process ends with the exception's code.
    char code[16];
    wsprintfA(code, "0x%08X", exitCode);
    EXPECT_EQ(report[1].rfind(std::string("Eccezione: ") + code + " (", 0), 0u) << code;

    EXPECT_EQ(ReadAll(folder + "ExcpCrash.dmp").substr(0, 4), "MDMP");
    const DWORD marker = GetFileAttributesA((folder + "ExcpCrash.new").c_str());
    EXPECT_NE(marker, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadAll(folder + "ExcpCrash.new"), "");

    // The day's log: the report's lines after one stamp, then the rule.
    SYSTEMTIME after;
    GetLocalTime(&after);
    std::string logText = ReadAll(folder + DayLogName(day));
    if (logText.empty()) logText = ReadAll(folder + DayLogName(after));
    const std::vector<std::string> log = CrLfLines(logText);
    ASSERT_EQ(log.size(), report.size() + 1) << logText;
    const std::string stamp = log[0].substr(0, log[0].find(": "));
    EXPECT_FALSE(stamp.empty());
    for (size_t i = 0; i < report.size(); ++i)
      EXPECT_EQ(log[i], stamp + ": " + report[i]);
    EXPECT_EQ(log.back(), stamp + ": " + std::string(80, '-'));
  }

  // The folder on a command line: without its last backslash, which would
  // escape the closing quote.
  std::string FolderArgument() const { return "\"" + folder.substr(0, folder.size() - 1) + "\""; }

  std::string folder;
};

TEST_P(CrashHandler, TheCrashLeavesReportDumpLogAndMarker) {
  const Expected& e = GetParam();
  SYSTEMTIME day;
  GetLocalTime(&day);
  PROCESS_INFORMATION pi{};
  if (std::string(e.kind) == "remote-thread") {
    // A running program crashed from outside.
    pi = Start("crash-self " + FolderArgument() + " " + e.selfKind + " --quiet");
    bool ready = false;
    for (int i = 0; i < 300 && !ready; ++i) {
      ready = GetFileAttributesA((folder + "Ready").c_str()) != INVALID_FILE_ATTRIBUTES;
      if (!ready) Sleep(100);
    }
    ASSERT_TRUE(ready) << "the program did not install its handler";
    PROCESS_INFORMATION killer = Start("crash-thread " + std::to_string(pi.dwProcessId));
    EXPECT_EQ(Finish(killer), 0u);
  } else {
    pi = Start("crash-self " + FolderArgument() + " " + e.selfKind + (e.tells ? "" : " --quiet"));
  }
  const DWORD firstThread = pi.dwThreadId;
  const DWORD exitCode = Finish(pi);
  EXPECT_NE(exitCode, 0u);
  CheckFiles(e, exitCode, firstThread, day);
  if (e.tells) {
    // The process the handler started waited for the crashed one to end.
    std::string told;
    for (int i = 0; i < 300 && told.empty(); ++i) {
      told = ReadAll(folder + "Told");
      if (told.empty()) Sleep(100);
    }
    EXPECT_EQ(told, "ended");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CrashHandler,
    ::testing::Values(
        Expected{"av", "av", "Eccezione: 0xC0000005 (violazione di accesso in scrittura all'indirizzo 0x00000010).",
                 true, true, true},
        Expected{"stack", "stack", "Eccezione: 0xC00000FD (overflow dello stack).", true, false},
        Expected{"terminate", "terminate", "Eccezione: 0xE0540001 (std::terminate).", true, false},
        Expected{"purecall", "purecall", "Eccezione: 0xE0540002 (chiamata di funzione virtuale pura).", true, false},
        Expected{"invalid-param", "invalid-param", "Eccezione: 0xC0000417 (parametro non valido nella libreria C).",
                 true, false},
        Expected{"remote-thread", "wait",
                 "Eccezione: 0xC0000005 (violazione di accesso in esecuzione all'indirizzo 0x00000010).", false, true}),
    [](const ::testing::TestParamInfo<Expected>& info) {
      std::string name = info.param.kind;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

// The handler's stamps, made from the locale's pictures read at install,
// read as the system's own formatting reads the same pictures.
TEST(CrashStamps, DatesAndTimesAsTheSystemFormatsThem) {
  crash::LocalePictures names{};
  ASSERT_TRUE(crash::ReadLocalePictures(&names));
  const SYSTEMTIME days[] = {{2026, 12, 4, 10, 0, 0, 0, 0},    // Thursday
                             {2009, 1, 0, 4, 13, 5, 9, 0},     // Sunday
                             {1999, 7, 6, 31, 12, 59, 0, 0}};  // Saturday
  const char* datePictures[] = {"dd/MM/yyyy", "d.M.yy", "dddd d MMMM yyyy", "ddd, MMM dd", "yyyy-MM-dd 'del' d"};
  const char* timePictures[] = {"HH:mm:ss", "h:mm:ss tt", "H.m.s t", "hh 'h' mm"};
  char buffer[160], expected[160];
  for (const SYSTEMTIME& day : days) {
    for (const char* picture : datePictures) {
      ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &day, picture, expected, sizeof expected), 0);
      crash::Text t(buffer, sizeof buffer);
      crash::FormatDate(t, picture, day, names);
      EXPECT_STREQ(buffer, expected) << picture;
    }
    for (const char* picture : timePictures) {
      ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &day, picture, expected, sizeof expected), 0);
      crash::Text t(buffer, sizeof buffer);
      crash::FormatTime(t, picture, day, names);
      EXPECT_STREQ(buffer, expected) << picture;
    }
    // The locale's own pictures, as the program's log writes its stamps.
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, expected, sizeof expected), 0);
    crash::Text d(buffer, sizeof buffer);
    crash::FormatDate(d, names.shortDate, day, names);
    EXPECT_STREQ(buffer, expected) << names.shortDate;
    ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &day, nullptr, expected, sizeof expected), 0);
    crash::Text t(buffer, sizeof buffer);
    crash::FormatTime(t, names.time, day, names);
    EXPECT_STREQ(buffer, expected) << names.time;
  }
}

// The command line of the process started after a crash reads back as the
// arguments it was made of.
TEST(CrashStamps, CommandLinesReadBackWhole) {
  const std::vector<std::string> args = {"/crashed", "12", "", "con spazi", "fine\\", "a\\\"b", "C:\\x y\\"};
  const std::wstring line = win32::CommandLineOf(L"C:\\Programmi\\To vira\\tovira.exe", args);
  int count = 0;
  LPWSTR* read = CommandLineToArgvW(line.c_str(), &count);
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(count, int(args.size()) + 1);
  EXPECT_STREQ(read[0], L"C:\\Programmi\\To vira\\tovira.exe");
  for (size_t i = 0; i < args.size(); ++i) {
    char back[256];
    WideCharToMultiByte(CP_ACP, 0, read[i + 1], -1, back, sizeof back, nullptr, nullptr);
    EXPECT_EQ(back, args[i]);
  }
  LocalFree(read);
}

}  // namespace
}  // namespace tov
