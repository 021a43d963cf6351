// A console helper of scripts/measure_startup.sh, run under Wine beside the
// program it looks at:
//   window_probe TITLE          prints the Windows process id and the memory
//                               counters of the process that owns the
//                               top-level window titled TITLE
//   window_probe TITLE close    posts WM_CLOSE to that window (what Alt+F4
//                               leads to), so the program ends as it would
//                               for a user
// Exits 2 when no such window exists, 1 when the process cannot be read.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "close") != 0)) {
    std::fprintf(stderr, "usage: window_probe TITLE [close]\n");
    return 1;
  }
  HWND window = FindWindowA(nullptr, argv[1]);
  if (!window) return 2;
  if (argc == 3) return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  CloseHandle(process);
  if (!ok) return 1;
  // One line, names and values in bytes, for the script to pick from.
  std::printf("pid=%lu working_set=%llu peak_working_set=%llu private=%llu\n", pid,
              static_cast<unsigned long long>(counters.WorkingSetSize),
              static_cast<unsigned long long>(counters.PeakWorkingSetSize),
              static_cast<unsigned long long>(counters.PrivateUsage));
  return 0;
}
