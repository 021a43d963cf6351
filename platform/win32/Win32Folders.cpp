// Folders as the file manager shows them: where a path really leads
// (junctions followed) and whether hidden files are shown.
#include "platform/win32/WinApi.h"

#include <shlobj.h>

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

std::string Win32FileSystem::FinalPath(const std::string& path) {
  ScopedHandle h(CreateFileW(WideText(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h) return std::string();
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(h.Get(), buffer.data(), DWORD(buffer.size()), FILE_NAME_NORMALIZED);
    if (n == 0) return std::string();
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.assign(n + 1, L'\0');
  }
  // "\\?\C:\a" is C:\a; "\\?\UNC\server\share" is \\server\share.
  std::string out = Utf8Text(buffer.c_str(), int(buffer.size()));
  if (out.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + out.substr(8);
  if (out.rfind("\\\\?\\", 0) == 0) return out.substr(4);
  return out;
}

int Win32Shell::HiddenFilesShown() {
  SHELLSTATE state{};
  SHGetSetSettings(&state, SSF_SHOWALLOBJECTS | SSF_SHOWSUPERHIDDEN, FALSE);
  if (!state.fShowAllObjects) return 0;
  return state.fShowSuperHidden ? 2 : 1;
}

}  // namespace tov::win32
