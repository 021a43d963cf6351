#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/FileShellLinks.h"
#include "platform/NativeFileSystem.h"
#include "platform/Platform.h"
#ifdef TOVIRA_WINDOWS
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32ShellLinks.h"
#endif
#include "formats/ShortcutFiles.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

struct Entry {
  std::string usage;
  CommandFn fn;
};

std::map<std::string, Entry>& Commands() {
  static std::map<std::string, Entry> commands;
  return commands;
}

int Usage() {
  std::fputs("usage:\n", stderr);
  for (const auto& [group, e] : Commands())
    std::fprintf(stderr, "  tovira-tool %s\n", e.usage.c_str());
  return 1;
}

}  // namespace

Registration::Registration(const char* group, const char* usage, CommandFn fn) { Commands()[group] = Entry{usage, fn}; }

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *bytes = ss.str();
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "tovira-tool: %s\n", message.c_str());
  return 1;
}

}  // namespace tov::tool

int main(int argc, char** argv) {
  using namespace tov;
#ifdef TOVIRA_WINDOWS
  // Arguments, paths and what the tool prints are UTF-8.
  if (!win32::RequireUtf8CodePage(true)) return 1;
#endif
  // The tool names files by the paths of the platform it runs on.
  NativeFileSystem files;
  Platform platform;
  platform.files = &files;
  // Shortcuts go through the shell's link object where there is one.
#ifdef TOVIRA_WINDOWS
  win32::Win32ShellLinks links;
#else
  FileShellLinks links;
#endif
  platform.links = &links;
  InstallPlatform(&platform);
  // OLE for the whole run, as the bar's entry has it (the shell's link object).
  TOleForThread ole;
  if (argc < 2) return tool::Usage();
  auto it = tool::Commands().find(argv[1]);
  if (it == tool::Commands().end()) return tool::Usage();
  std::vector<std::string> args(argv + 2, argv + argc);
  return it->second.fn(args);
}
