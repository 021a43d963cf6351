// Scripted message boxes: tests queue the answers; every box shown is kept.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace tov::host {

struct ShownBox {
  std::string text;
  std::string caption;
  uint32_t style = 0;
};

class HostDialogs : public IDialogs {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t style) override {
    shown.push_back(ShownBox{text, caption, style});
    if (!answers.empty()) {
      int a = answers.front();
      answers.pop_front();
      return a;
    }
    // Unscripted boxes take their first button.
    switch (style & 0xF) {
      case MB_YESNO:
      case MB_YESNOCANCEL:
        return IDYES;
      default:
        return IDOK;
    }
  }

  std::deque<int> answers;
  std::vector<ShownBox> shown;
};

}  // namespace tov::host
