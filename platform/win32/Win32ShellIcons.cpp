// Icons at an exact size with their alpha, for a thread of their own: COM is
// set up for the calling thread around each call.
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Shell.h"

#include "platform/win32/WinApi.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// {bcc18b79-ba16-442f-80c4-8a59c30c463b}
const IID kImageFactoryId = {0xbcc18b79, 0xba16, 0x442f, {0x80, 0xc4, 0x8a, 0x59, 0xc3, 0x0c, 0x46, 0x3b}};

Color RgbOf(uint32_t bgra) { return RGB(uint8_t(bgra >> 16), uint8_t(bgra >> 8), uint8_t(bgra)); }

// A 32-bit bitmap of exactly size x size as a picture. Its alpha is taken
// premultiplied (as the image factory gives it) when every colour lies
// within it; a bitmap with no alpha at all is opaque.
bool BitmapPicture(HBITMAP bitmap, int size, Picture* out) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth != size || std::abs(info.bmHeight) != size) return false;
  std::vector<uint32_t> bits(size_t(size) * size);
  BITMAPINFO bi = TopDownDibInfo(size, size);
  const int lines = GetDIBits(ScreenDc().Get(), bitmap, 0, UINT(size), bits.data(), &bi, DIB_RGB_COLORS);
  if (lines != size) return false;
  bool anyAlpha = false, premultiplied = true;
  for (uint32_t v : bits) {
    const uint32_t a = v >> 24;
    if (a) anyAlpha = true;
    if (((v >> 16) & 0xFF) > a || ((v >> 8) & 0xFF) > a || (v & 0xFF) > a) premultiplied = false;
  }
  out->rgb = Bitmap(size, size);
  out->alpha.assign(bits.size(), 255);
  for (size_t i = 0; i < bits.size(); ++i) {
    uint32_t v = bits[i];
    const uint32_t a = anyAlpha ? v >> 24 : 255;
    if (anyAlpha && premultiplied && a > 0 && a < 255) {
      auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      v = (un((v >> 16) & 0xFF) << 16) | (un((v >> 8) & 0xFF) << 8) | un(v & 0xFF);
    }
    out->rgb.pixels[i] = a ? RgbOf(v) : 0;
    out->alpha[i] = uint8_t(a);
  }
  return true;
}

// An icon drawn at size x size, once on black and once on white: where the
// two differ the icon lets the background through, which gives its alpha
// whatever format the icon has (masked, 32-bit).
bool IconOnBlackAndWhite(HICON icon, int size, Picture* out) {
  BITMAPINFO bi = TopDownDibInfo(size, size);
  void* bits[2] = {nullptr, nullptr};
  ScopedGdi<HBITMAP> black(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits[0], nullptr, 0));
  ScopedGdi<HBITMAP> white(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits[1], nullptr, 0));
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!black.Get() || !white.Get() || !dc.Get() || !bits[0] || !bits[1]) return false;
  const size_t n = size_t(size) * size;
  uint32_t* b = static_cast<uint32_t*>(bits[0]);
  uint32_t* w = static_cast<uint32_t*>(bits[1]);
  for (size_t i = 0; i < n; ++i) {
    b[i] = 0;
    w[i] = 0x00FFFFFF;
  }
  HGDIOBJ old = SelectObject(dc.Get(), black.Get());
  bool drawn = DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  SelectObject(dc.Get(), white.Get());
  drawn = DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) && drawn;
  SelectObject(dc.Get(), old);
  GdiFlush();
  if (!drawn) return false;
  out->rgb = Bitmap(size, size);
  out->alpha.assign(n, 0);
  for (size_t i = 0; i < n; ++i) {
    int through = 0;
    for (int shift : {0, 8, 16})
      through = std::max(through, int((w[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    const int a = 255 - std::clamp(through, 0, 255);
    out->alpha[i] = uint8_t(a);
    if (a == 0) continue;
    auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + uint32_t(a) / 2) / uint32_t(a)); };
    const uint32_t v = b[i];
    out->rgb.pixels[i] = RGB(uint8_t(un((v >> 16) & 0xFF)), uint8_t(un((v >> 8) & 0xFF)), uint8_t(un(v & 0xFF)));
  }
  return true;
}

bool FromImageFactory(const std::wstring& path, int size, Picture* out) {
  ComPtr<IShellItemImageFactory> factory;
  if (FAILED(SHCreateItemFromParsingName(path.c_str(), nullptr, kImageFactoryId, factory.PutVoid())) || !factory)
    return false;
  HBITMAP bitmap = nullptr;
  if (FAILED(factory->GetImage(SIZE{size, size}, SIIGBF_ICONONLY, &bitmap)) || !bitmap) return false;
  ScopedGdi<HBITMAP> owned(bitmap);
  return BitmapPicture(bitmap, size, out);
}

bool FromIconLocation(const std::wstring& path, int size, Picture* out) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICONLOCATION) || !info.szDisplayName[0]) return false;
  HICON icon = nullptr;
  UINT id = 0;
  const UINT got = PrivateExtractIconsW(info.szDisplayName, info.iIcon, size, size, &icon, &id, 1, LR_DEFAULTCOLOR);
  if (got == 0 || got == 0xFFFFFFFF || !icon) return false;
  const bool ok = IconOnBlackAndWhite(icon, size, out);
  DestroyIcon(icon);
  return ok;
}

bool FromShellIcon(const std::wstring& path, int size, Picture* out) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_ICON | (size <= 16 ? SHGFI_SMALLICON : SHGFI_LARGEICON);
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags) || !info.hIcon) return false;
  const bool ok = IconOnBlackAndWhite(info.hIcon, size, out);
  DestroyIcon(info.hIcon);
  return ok;
}

}  // namespace

bool Win32Shell::IconPicture(const std::string& path, int pixels, Picture* out) {
  if (path.empty() || pixels <= 0 || pixels > 256) return false;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring wide = WideText(path);
  Picture picture;
  const bool found = FromImageFactory(wide, pixels, &picture) || FromIconLocation(wide, pixels, &picture) ||
                     FromShellIcon(wide, pixels, &picture);
  if (SUCCEEDED(com)) CoUninitialize();
  if (!found) return false;
  *out = std::move(picture);
  return true;
}

}  // namespace tov::win32
