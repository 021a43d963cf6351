// A program that only leaves a trace: started, it writes a file named after
// itself with ".launched" in place of ".exe", so a test can tell that a click
// on the bar really started it.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 16] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  char* dot = std::strrchr(path, '.');
  if (!dot) return 1;
  std::strcpy(dot, ".launched");
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(f, "ok", 2, &written, nullptr);
  CloseHandle(f);
  return 0;
}
