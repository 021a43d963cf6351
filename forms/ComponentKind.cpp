#include "forms/ComponentKind.h"

#include <array>

#include "base/Casefold.h"
#include "base/Strings.h"

namespace tov {

namespace {

using K = ComponentKind;

// In the order of the enumeration.
constexpr std::array<ComponentKindInfo, size_t(K::Other) + 1> kKinds = {{
    {K::Form, "TForm", "", true, true},
    {K::DataModule, "TDataModule", "", false, false},
    {K::SpeedItem, "TSpeedItem", "", true, false},
    {K::Label, "TLabel", "", true, false},
    {K::Button, "TBitBtn", "", true, false},
    {K::SpeedButton, "TSpeedButton", "", true, false},
    {K::PngButton, "TPNGButton", "", true, false},
    {K::GroupBox, "TGroupBox", "", true, true},
    {K::Panel, "TPanel", "", true, true},
    {K::FlatPanel, "TFlatPanel", "", true, true},
    {K::MenuItem, "TMenuItem", "", false, false},
    {K::CheckBox, "TCheckBox", "", true, false},
    {K::ScrollText, "TSecretPanel", "", true, false},
    {K::HintBox, "THintBox", "", true, false},
    {K::ComboBox, "TComboBox", "", true, false},
    {K::Edit, "TEdit", "", true, false},
    {K::ListView, "TListView", "", true, false},
    {K::MainMenu, "TMainMenu", "", false, false},
    {K::PopupMenu, "TPopupMenu", "", false, false},
    {K::Image, "TImage", "", true, false},
    {K::ListBox, "TListBox", "", true, false},
    {K::Memo, "TMemo", "", true, false},
    {K::RadioButton, "TRadioButton", "", true, false},
    {K::SpinEdit, "TSpinEdit", "", true, false},
    {K::TrackBar, "TTrackBar", "", true, false},
    {K::PageControl, "TPageControl", "", true, true},
    {K::TabSheet, "TTabSheet", "", true, true},
    {K::ScrollBox, "TScrollBox", "", true, true},
    {K::TreeView, "TTreeView", "", true, false},
    {K::ColorBox, "TColorBox", "", true, false},
    {K::Shape, "TShape", "", true, false},
    {K::Bevel, "TBevel", "", true, false},
    {K::Timer, "TTimer", "", false, false},
    {K::ImageList, "TImageList", "", false, false},
    {K::FormPlacement, "TFormPlacement", "", false, false},
    {K::UpDown, "TUpDown", "", true, false},
    {K::DateTimePicker, "TDateTimePicker", "", true, false},
    {K::Splitter, "TSplitter", "", true, false},
    {K::ComboEdit, "TComboEdit", "", true, false},
    {K::DirectoryEdit, "TDirectoryEdit", "TComboEdit", true, false},
    {K::FilenameEdit, "TFilenameEdit", "TComboEdit", true, false},
    {K::Other, "TComponent", "", false, false},
}};

constexpr bool InEnumOrder() {
  for (size_t i = 0; i < kKinds.size(); ++i)
    if (size_t(kKinds[i].kind) != i) return false;
  return true;
}
static_assert(InEnumOrder(), "kind table out of order");

}  // namespace

const ComponentKindInfo& KindInfo(ComponentKind kind) {
  size_t i = size_t(kind);
  return i < kKinds.size() ? kKinds[i] : kKinds.back();
}

ComponentKind KindFromClassName(const std::string& className) {
  for (const ComponentKindInfo& k : kKinds)
    if (SameTextAscii(className, k.className)) return k.kind;
  return ComponentKind::Other;
}

}  // namespace tov
