#include "platform/win32/Win32Diagnostics.h"

#include "platform/win32/WinApi.h"

#include <shellapi.h>
#include <shlobj.h>

namespace tov::win32 {

bool LocateInModules(uintptr_t address, char* file, unsigned size, int* section, uint32_t* offset) {
  if (size == 0) return false;
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) || region.State == MEM_FREE ||
      !region.AllocationBase)
    return false;
  const auto* base = static_cast<const BYTE*>(region.AllocationBase);
  const DWORD length = GetModuleFileNameA(HMODULE(region.AllocationBase), file, size);
  if (length == 0) return false;
  file[length < size ? length : size - 1] = '\0';
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
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  bool ok = false;
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
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
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
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

bool Win32Diagnostics::RegisterRestart() { return RegisterApplicationRestart(L"", 0) == S_OK; }

}  // namespace tov::win32
