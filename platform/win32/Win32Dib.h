// The description of a 32-bit top-down device-independent bitmap, the one
// form in which the Win32 layer hands pixels to and from GDI: rows from the
// top, each pixel 0x00RRGGBB (or premultiplied ARGB where alpha is kept).
#pragma once
#include "platform/win32/WinApi.h"

namespace tov::win32 {

inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

}  // namespace tov::win32
