// The bar window: the program's main form, an application bar that docks to
// a screen edge or floats, claims one of ten instance slots by the path of its
// executable and keeps its docking state under that slot's registry key.
#pragma once
#include <string>
#include <vector>

#include "docking/AppBar.h"
#include "forms/Component.h"

namespace tov {

// Posted to itself when first shown: the buttons are loaded then.
constexpr uint32_t kAfterShowMessage = 1805;
constexpr uint32_t kDelayedUpdateMessage = 1807;

extern const char* const kInstanceRootKey;  // "Software\Brenvoll\ToviraRoot"
extern const char* const kRunKey;           // "Software\Microsoft\Windows\CurrentVersion\Run"
std::string InstanceValueName(int slot);    // "Brenvoll.Tovira_" + slot
std::string BarKeyName(int slot);           // "Software\Brenvoll\Tovira_" + slot

class TFormToviraMain : public TAppBar {
 public:
  TFormToviraMain();
  ~TFormToviraMain() override;

  int ClaimInstanceSlot();
  void SetAutoStart(bool on);
  bool FixScreenIndex();

  void FormShow();
  void OnAfterShow();
  void FormClose();
  void FormDestroy();
  void PopCloseClick() { Close(); }

  // The form's components: its menus and the rest of its resource.
  Component& FormComponent() { return *form_; }
  Component& PopupMenu() { return *popupMenu_; }

  std::string SourceFolder;
  std::vector<Rect> SeparatorRects;
  TAppBarEdge LastEdge = abeUnknown;
  int BarInstanceIndex = -1;
  bool FirstStart() const { return firstStart_; }

 protected:
  intptr_t Dispatch(Message& m) override;
  void OnAppBarStateChange(bool proposed, TAppBarEdge edge) override;

 private:
  void BuildComponents();
  void FillScreenTable();
  void PlaceFloatingWindow();
  bool firstStart_ = false;
  std::unique_ptr<Component> form_;
  Component* popupMenu_ = nullptr;
};

}  // namespace tov
