// Desktop composition: the compositor's glass frame and layered windows with
// a colour key, looked up at run time where the system has them.
#pragma once
#include <cstdint>

#include "platform/Canvas.h"
#include "platform/Shell.h"

namespace tov {

class ICompositor {
 public:
  virtual ~ICompositor() = default;
  virtual bool LoadLibrary() = 0;  // "dwmapi.dll" and its two functions
  virtual void FreeLibrary() = 0;
  virtual bool IsCompositionEnabled() = 0;
  // Margins in the order left, right, top, bottom; -1 on all four is the whole client area.
  virtual bool ExtendFrameIntoClientArea(WindowId window, int left, int right, int top, int bottom) = 0;
  // Makes every pixel of that colour transparent (the window must be layered).
  virtual bool SetLayeredColorKey(WindowId window, Color key) = 0;
};

}  // namespace tov
