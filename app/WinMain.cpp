// Entry point of tovira.exe, where the layers meet: the real platform, then
// the program.
#include <cstdlib>
#include <string>
#include <vector>

#include "bar/Program.h"
#include "platform/win32/Win32Platform.h"

#include "platform/win32/WinApi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Every text of the program is UTF-8: a system too old to take it as the
  // code page is told so before anything else happens.
  if (!tov::win32::RequireUtf8CodePage(false)) return 1;
  tov::win32::Win32Platform platform;
  // The arguments as the C run-time reads them, without the program's name.
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i)
    arguments.emplace_back(__argv[i]);
  return tov::RunProgram(arguments);
}
