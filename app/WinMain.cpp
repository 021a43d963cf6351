// Entry point of tovira.exe, where the layers meet: the real platform, then
// the program.
#include "bar/Program.h"
#include "platform/win32/Win32Platform.h"

#include "platform/win32/WinApi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tov::win32::Win32Platform platform;
  return tov::RunProgram();
}
