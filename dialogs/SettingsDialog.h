// The settings dialog: built afresh from the store's template at every
// opening. The template's sections are the entries of the list on the left;
// the chosen one shows, on the scrolling page on the right, a row per key
// with its caption and an editor made for the key's field type. Values move
// between the editors and the store a page at a time: leaving a page writes
// it, "Conferma" writes the page shown, and "Annulla" (or the close box)
// puts back every value the dialog found when it opened.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/HintBox.h"
#include "forms/Component.h"
#include "platform/Window.h"

namespace tov {

class TSettingsStore;

class TSettingsDialog {
 public:
  // Shown in that language ("": the form's own texts).
  TSettingsDialog(TSettingsStore& store, std::string initialSection, std::string language);
  Component& Form() { return *form_; }
  int ShowModal(WindowId owner);

  // The handlers of the dialog.
  void FormShow();
  void SettingsTreeChange();  // bound to the tree's "AlberoImpostazioniChange"
  void BtnConfermaClick();
  void BtnAnnullaClick();
  void FormClose();
  void NumberChange(Component& editor);
  void ComboColorButtonClick(Component& editor);

  // The page of the selected entry: its rows made anew, then filled from
  // the store; saving writes every key of the page shown that the user
  // changed, and the ones that hold no value yet, and answers false when
  // the settings file could not be written.
  void BuildPage();
  void FillPage();
  bool SavePage();
  int ShownPage() const { return shownPage_; }
  // The editor of a key on the page shown, or null.
  Component* Editor(const std::string& key) const;
  Component& Page() const { return *page_; }
  // The colour of both title strips.
  Color StripColor() const;

  static constexpr Color kAccentColor = 0xBBAE84;

 private:
  // Each editor is named after its key with this in front.
  static constexpr char kEditorPrefix[] = "Edit_";

  Component& Need(const char* name) const;
  std::string SelectedSection() const;
  // Selects the entry and shows its page, leaving the page shown; false
  // (and the page stays) when the page left could not be written.
  bool ShowEntry(int index);
  void TellNotSaved();
  void AddRow(Component& page, const std::string& section, const std::string& key, int captionWidth);
  void FillEditor(const std::string& section, const std::string& key, Component& editor);
  bool SaveEditor(const std::string& section, const std::string& key, Component& editor);
  void BrowseFolder(Component& editor);
  void BrowseFile(Component& editor, const std::string& section, const std::string& key);
  void ColourStrips();
  void PaintSectionTitle(ICanvas& canvas, const Component& self) const;

  TSettingsStore& store_;
  std::string initialSection_;
  std::string language_;
  std::unique_ptr<Component> form_;
  Component* tree_;
  Component* page_;
  Component* hintPanel_;
  Component* title_;
  THintBox hintBox_;
  int shownPage_ = -1;
  // What each editor of the page shows as filled, to tell whether the user
  // changed it; keep: the value is not written unless the user changes it
  // (the file holds it already, or the editor cannot show it).
  struct Filled {
    std::string caption;
    int itemIndex = -1;
    bool checked = false;
    std::string colour;
    bool keep = false;
  };
  std::map<std::string, Filled> filled_;  // by key
  // The line of the key's list file each item of a choice editor comes from.
  std::map<std::string, std::vector<int>> itemLines_;
  Color lastColour_ = 0;  // the colour dialog opens on the colour last chosen in it
  bool backedUp_ = false;
  bool restored_ = false;
};

// Shows the settings dialog on the store, at the initial section (the first
// when empty). Answers 1 after "Conferma", 2 after "Annulla" or the close
// box; an error while making the dialog is shown as the application shows
// an exception, and answers 2.
int ShowSettingsDialog(TSettingsStore& store, const std::string& initialSection, const std::string& language,
                       WindowId owner);

}  // namespace tov
