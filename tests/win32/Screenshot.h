// Screenshots of the Windows tests' dialogs, for the eye.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/win32/WinApi.h"

namespace tov::testing {

// Writes what the window shows now as a bitmap file, named name.bmp in the
// folder TOVIRA_SCREENSHOTS names; nothing without that variable.
inline void SaveScreenshot(HWND dialog, const char* name) {
  const char* folder = std::getenv("TOVIRA_SCREENSHOTS");
  if (!folder) return;
  RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + DWORD(w * h * 4);
  std::ofstream out(std::string(folder) + "\\" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits), std::streamsize(w) * h * 4);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

}  // namespace tov::testing
