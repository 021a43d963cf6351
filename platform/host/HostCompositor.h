// A compositor for the headless host that tests switch on and off; it keeps
// what was asked of it.
#pragma once
#include <map>

#include "platform/Compositor.h"

namespace tov::host {

class HostCompositor : public ICompositor {
 public:
  bool LoadLibrary() override {
    loaded = present;
    return loaded;
  }
  void FreeLibrary() override { loaded = false; }
  bool IsCompositionEnabled() override { return loaded && enabled; }
  bool ExtendFrameIntoClientArea(WindowId window, int left, int right, int top, int bottom) override {
    if (!IsCompositionEnabled()) return false;
    frames[window] = Margins{left, right, top, bottom};
    ++extendCalls;
    return true;
  }
  bool SetLayeredColorKey(WindowId window, Color key) override {
    colorKeys[window] = key;
    return true;
  }

  struct Margins {
    int left = 0, right = 0, top = 0, bottom = 0;
    friend bool operator==(const Margins&, const Margins&) = default;
  };
  bool present = false;  // Wine and the host have no compositor by default
  bool enabled = true;
  bool loaded = false;
  int extendCalls = 0;
  std::map<WindowId, Margins> frames;
  std::map<WindowId, Color> colorKeys;
};

}  // namespace tov::host
