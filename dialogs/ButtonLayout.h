// The button layout dialog: the bar's buttons as a list to reorder, delete,
// rename in place and add separators to; the appearance of one or many
// buttons set in editors and tried on a preview button before it is
// applied; appearances saved as named combinations and recalled. Every
// change goes straight into the button table and the bar is rebuilt; there
// is no OK or Cancel.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ButtonStyle.h"
#include "controls/LbSpeedButton.h"
#include "forms/Component.h"
#include "platform/Window.h"

namespace tov {

class TDataModule;
class TRecordTable;
class TSettingsStore;

class TFormButtonLayout {
 public:
  // The dialog edits the data module's button table and saves combinations
  // into its theme table. rebuildBar lays the bar out again (and saves its
  // button list). The dialog keeps where it was closed in the store, and
  // shows its texts in the language given ("": the form's own).
  TFormButtonLayout(TDataModule& data, TSettingsStore& store, std::string language, std::function<void()> rebuildBar,
                    WindowId owner = 0);
  Component& Form() { return *form_; }
  int ShowModal();

  // The handlers of the dialog.
  void FormShow();
  void FormClose();
  void ListButtonsChange();
  void ListButtonsDblClick();
  void ListButtonsEdited();
  void PnlOrdinamentoResize();
  void PnlCombinazioneResize();
  void BtnUpClick() { MoveSelected(false); }
  void BtnDownClick() { MoveSelected(true); }
  void BtnDeleteClick();
  void BtnAddElementClick();
  void Pop_SeparatorClick();
  void EditS_ColorButtonClick(Component& editor);
  void BtnFontClick() { ChooseLabelFont("LblFont"); }
  void BtnHotTrackFontClick() { ChooseLabelFont("LblHotTrackFont"); }
  void BtnAnteprimaClick();
  void BtnApplicaClick();
  void BtnSalvaClick();
  void EditS_CombinazioneChange();
  void BtnSelezionaTuttoClick();
  void BtnInvertiClick();

  // The list from the button table; the combinations from the theme table.
  void FillButtonList();
  void FillCombinations();
  // The appearance the editors show, as a button's or, for a separator's
  // row ("*Separator*" without a path), a panel's.
  std::unique_ptr<TCustomButtonStyle> StyleFromEditors(int row);
  void EditorsFromStyle(const TCustomButtonStyle& s);
  // A button's appearance on the preview button; any other hides it.
  void ShowPreview(const TCustomButtonStyle& s);
  // Paints the preview on the dialog's canvas: at a scale other than 100 %
  // laid out, with its font and icon, for the pixels of that scale.
  void PaintPreview(ICanvas& canvas);
  // The editors and the preview show the row's appearance.
  void ShowRow(int row);
  // Stores the hotkey editor's combination on the row (empty: none); false,
  // with the user told why, for one that does not parse or that another
  // button has.
  bool ApplyHotkey(int row);

  // The first selected row, -1 for none; the rows selected.
  int SelectedRow() const;
  const std::vector<int>& SelectedRows() const;
  void Select(const std::vector<int>& rows);
  const TLbSpeedButton& Preview() const { return preview_; }

 private:
  TRecordTable& Links();
  TRecordTable& Themes();
  Component& Need(const char* name) const;
  void MoveSelected(bool down);
  void ChooseLabelFont(const char* label);
  bool LocateListRow(int row);
  // Brings the typed width and height within the range of their arrows,
  // telling the user when one had to change.
  void KeepSizesInRange();

  TDataModule& data_;
  std::string language_;
  std::function<void()> rebuild_;
  WindowId owner_;
  std::unique_ptr<Component> form_;
  Component* list_;
  std::vector<int> lastSelection_;  // the selection the last change left
  TLbSpeedButton preview_;
  std::unique_ptr<TCustomButtonStyle> previewStyle_;  // what the preview shows
  TLbSpeedButton scaledPreview_;                      // the preview at scaledDpi_
  int scaledDpi_ = 0;                                 // 0: not laid out yet
};

// Creates the dialog and shows it modally; an error while making it is shown
// as the application shows an exception. The caller rebuilds the bar after.
void ShowButtonLayout(TDataModule& data, TSettingsStore& store, const std::string& language,
                      std::function<void()> rebuildBar, WindowId owner);

}  // namespace tov
