#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Dib.h"

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/WinApi.h"

#include <shellapi.h>
#include <shlobj.h>

namespace tov::win32 {

bool LocateInImage(uintptr_t imageBase, uintptr_t address, int* section, uint32_t* offset) {
  const auto* base = reinterpret_cast<const BYTE*>(imageBase);
  // The headers are read in place: only as far as their pages can be read.
  MEMORY_BASIC_INFORMATION head{};
  if (!VirtualQuery(base, &head, sizeof head) || head.State != MEM_COMMIT ||
      (head.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
    return false;
  const size_t readable = size_t(static_cast<const BYTE*>(head.BaseAddress) + head.RegionSize - base);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (readable < sizeof *dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
      size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > readable)
    return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  const WORD count = nt->FileHeader.NumberOfSections;
  if (reinterpret_cast<const BYTE*>(sections + count) > base + readable) return false;
  const uintptr_t rva = address - uintptr_t(base);
  for (WORD i = 0; i < count; ++i) {
    const uintptr_t start = sections[i].VirtualAddress;
    const DWORD virtualSize = sections[i].Misc.VirtualSize, rawSize = sections[i].SizeOfRawData;
    const uintptr_t end = start + (virtualSize > rawSize ? virtualSize : rawSize);
    if (rva < start || rva > end) continue;
    *section = i + 1;
    *offset = uint32_t(rva - start);
    return true;
  }
  return false;
}

bool LocateInModules(uintptr_t address, char* file, unsigned size, int* section, uint32_t* offset) {
  if (size == 0) return false;
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) || region.State == MEM_FREE ||
      !region.AllocationBase)
    return false;
  const DWORD length = GetModuleFileNameA(HMODULE(region.AllocationBase), file, size);
  if (length == 0) return false;
  file[length < size ? length : size - 1] = '\0';
  return LocateInImage(uintptr_t(region.AllocationBase), address, section, offset);
}

bool Win32Diagnostics::LocateAddress(uint64_t address, CodeLocation* out) {
  if (address > UINTPTR_MAX) return false;
  char file[MAX_PATH * 2];
  int section = 0;
  uint32_t offset = 0;
  if (!LocateInModules(uintptr_t(address), file, sizeof file, &section, &offset)) return false;
  *out = CodeLocation{file, section, offset};
  return true;
}

bool Win32Diagnostics::CaptureScreen(Bitmap* out) {
  RECT area{};
  if (!GetWindowRect(GetDesktopWindow(), &area)) return false;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  ScreenDc screenDc;
  HDC screen = screenDc.Get();
  if (!screen) return false;
  bool ok = false;
  ScopedMemoryDc memoryDc(CreateCompatibleDC(screen));
  HDC memory = memoryDc.Get();
  BITMAPINFO info = TopDownDibInfo(width, height);
  void* bits = nullptr;
  ScopedGdi<HBITMAP> dibBitmap(memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
  HBITMAP dib = dibBitmap.Get();
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT) != 0;
    GdiFlush();
    SelectObject(memory, old);
    if (ok) {
      // The section holds 0x00RRGGBB; the bitmap wants 0x00BBGGRR.
      Bitmap shot(width, height);
      const auto* source = static_cast<const uint32_t*>(bits);
      for (size_t i = 0; i < shot.pixels.size(); ++i) {
        const uint32_t p = source[i];
        shot.pixels[i] = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
      }
      *out = std::move(shot);
    }
  }
  return ok;
}

bool Win32Diagnostics::ShowInFolder(const std::string& path) {
  // The shell's own call needs COM on this thread; a thread that has it in
  // another model keeps it.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool shown = false;
  if (PIDLIST_ABSOLUTE item = ILCreateFromPathA(path.c_str())) {
    shown = SUCCEEDED(SHOpenFolderAndSelectItems(item, 0, nullptr, 0));
    ILFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  if (shown) return true;
  const std::string parameters = "/select,\"" + path + "\"";
  return INT_PTR(ShellExecuteA(nullptr, "open", "explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

// Only after an update or a restart of the system: after a crash the
// handler's own process starts the bar (the system's restart would make a
// second one, a minute later).
bool Win32Diagnostics::RegisterRestart() {
  return RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG) == S_OK;
}

uint32_t Win32Diagnostics::ProcessId() { return GetCurrentProcessId(); }

bool Win32Diagnostics::WaitForProcessEnd(uint32_t pid, uint32_t timeoutMs) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process: it has ended
  const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

std::wstring OwnExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring CommandLineOf(const std::wstring& exe, const std::vector<std::string>& arguments) {
  // The rules of the C run-time's reading (CommandLineToArgvW): quotes
  // around an argument with blanks or quotes, or an empty one; backslashes
  // doubled before a quote, which is escaped.
  auto quoted = [](const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
    std::wstring q = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : a) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      q.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
      backslashes = 0;
      q += c;
    }
    q.append(backslashes * 2, L'\\');
    return q + L"\"";
  };
  std::wstring line = L"\"" + exe + L"\"";
  for (const std::string& a : arguments) {
    std::wstring wide(a.size(), L'\0');
    const int n =
        a.empty() ? 0 : MultiByteToWideChar(CP_ACP, 0, a.data(), int(a.size()), wide.data(), int(wide.size()));
    wide.resize(size_t(n));
    line += L" " + quoted(wide);
  }
  return line;
}

bool Win32Diagnostics::StartProgramAgain(const std::vector<std::string>& arguments) {
  const std::wstring exe = OwnExecutable();
  if (exe.empty()) return false;
  std::wstring line = CommandLineOf(exe, arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace tov::win32
