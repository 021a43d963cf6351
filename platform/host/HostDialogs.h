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

  // The colour dialog answers from colorAnswers (nothing: cancelled); an
  // unscripted one is cancelled. The colour each opened on is kept.
  bool ChooseColor(uintptr_t owner, Color initial, Color* chosen) override {
    (void)owner;
    colorsOpened.push_back(initial);
    return Take(colorAnswers, chosen);
  }
  bool ChooseFont(uintptr_t owner, FontSpec* font) override {
    (void)owner;
    fontsOpened.push_back(*font);
    return Take(fontAnswers, font);
  }
  // Both file dialogs answer from fileAnswers; what each was asked is kept.
  bool OpenFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) override {
    (void)owner;
    filesAsked.push_back(request);
    return Take(fileAnswers, chosen);
  }
  bool SaveFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) override {
    (void)owner;
    filesAsked.push_back(request);
    return Take(fileAnswers, chosen);
  }

  std::deque<int> answers;
  std::vector<ShownBox> shown;
  std::deque<std::optional<std::string>> folderAnswers;
  std::vector<std::string> browsed;
  std::deque<std::optional<Color>> colorAnswers;
  std::vector<Color> colorsOpened;
  std::deque<std::optional<FontSpec>> fontAnswers;
  std::vector<FontSpec> fontsOpened;
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileDialogRequest> filesAsked;

 private:
  template <class T>
  static bool Take(std::deque<std::optional<T>>& answers, T* chosen) {
    if (answers.empty()) return false;
    std::optional<T> a = std::move(answers.front());
    answers.pop_front();
    if (!a) return false;
    *chosen = std::move(*a);
    return true;
  }
};

}  // namespace tov::host
