// The software canvas of the headless host.
#pragma once
#include "platform/Canvas.h"

namespace tov::host {

class HostCanvasFactory : public ICanvasFactory {
 public:
  std::unique_ptr<ICanvas> CreateBitmapCanvas(int width, int height) override;
  Color SysColor(int index) override;
  Size ImageListSize(uintptr_t imageList) override;
};

}  // namespace tov::host
