// Scripted message boxes: tests queue the answers; every box shown is kept.
#pragma once
#include <deque>
#include <optional>
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

  // Answers from folderAnswers (a folder, or nothing for a cancel); an
  // unscripted browser is cancelled. The preselection of each is kept.
  bool BrowseForFolder(uintptr_t owner, const std::string& initial, std::string* chosen) override {
    (void)owner;
    browsed.push_back(initial);
    if (folderAnswers.empty() || !folderAnswers.front()) {
      if (!folderAnswers.empty()) folderAnswers.pop_front();
      return false;
    }
    *chosen = *folderAnswers.front();
    folderAnswers.pop_front();
    return true;
  }

  std::deque<int> answers;
  std::vector<ShownBox> shown;
  std::deque<std::optional<std::string>> folderAnswers;
  std::vector<std::string> browsed;
};

}  // namespace tov::host
