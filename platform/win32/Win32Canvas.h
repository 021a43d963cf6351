// The GDI canvas: ICanvas on a device context, off-screen canvases on 32-bit
// DIB sections, and the factory that makes them.
#pragma once
#include <memory>

#include "platform/Canvas.h"
#include "platform/win32/WinApi.h"

namespace tov::win32 {

// A canvas on a device context the caller owns (a window's DC during
// WM_PAINT, for instance); width and height are the area drawn on. The DC's
// selected objects are restored when the canvas is destroyed.
std::unique_ptr<ICanvas> MakeDcCanvas(HDC hdc, int width, int height);

class Win32CanvasFactory : public ICanvasFactory {
 public:
  std::unique_ptr<ICanvas> CreateBitmapCanvas(int width, int height) override;
  Color SysColor(int index) override;
  Size ImageListSize(uintptr_t imageList) override;
  int ScreenBitsPerPixel() override;
  int ScreenDpi() override;
  IImageCodec* ImageCodec() override;
};

// The system's message font (what dialogs show) in a FontSpec's style; with
// a face name, that face at the wanted size instead.
LOGFONTA FontFor(const FontSpec& wanted, HDC dc);

// The device context of a canvas made here (for BitBlt to a window), or
// nullptr for any other canvas.
HDC CanvasDc(ICanvas& canvas);

}  // namespace tov::win32
