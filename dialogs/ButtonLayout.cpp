#include "dialogs/ButtonLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <utility>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/Appearance.h"
#include "controls/ButtonTable.h"
#include "controls/Hotkey.h"
#include "controls/IconLoader.h"
#include "dialogs/StandardPrompt.h"
#include "forms/ButtonLayoutForm.h"
#include "platform/DpiCanvas.h"
#include "platform/Platform.h"
#include "settings/UserData.h"
#include "tables/ColumnValues.h"
#include "tables/DataModule.h"
#include "tables/TableFiles.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormHelpers.h"
#include "toolkit/FormRuntime.h"
#include "toolkit/PopupMenu.h"

namespace tov {

namespace {

constexpr char kSeparatorCaption[] = "*Separator*";

std::string Text(TRecordTable& t, const char* field) { return t.FieldByName(field).AsString(); }

// A row of the list: the caption, the path and the hotkey of the table's
// current row.
std::vector<std::string> ListCells(TRecordTable& t) { return {Text(t, "Caption"), Text(t, "Path"), Text(t, "Hotkey")}; }

// A number's text as a whole number: "12", "12,7" and "12.7" give 12; 0
// when it holds none. Numbers beyond an int's range stop at its ends.
long long WideNumber(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }
int WholeNumber(const std::string& text) { return int(std::clamp<long long>(WideNumber(text), INT32_MIN, INT32_MAX)); }

Color EditorColour(const Component& e) { return ComponentColor(e, clBtnFace); }

void SetEditorColour(Component& e, Color c) {
  SetComponentColor(e, c);
  e.Changed();
}

int ListIndex(const Component& c) { return std::max(0, c.itemIndex); }

}  // namespace

TFormButtonLayout::TFormButtonLayout(TDataModule& data, TSettingsStore& store, std::string language,
                                     std::function<void()> rebuildBar, WindowId owner)
    : data_(data),
      language_(std::move(language)),
      rebuild_(std::move(rebuildBar)),
      owner_(owner),
      form_(BuildButtonLayoutForm()) {
  list_ = &Need("ListButtons");
  Need("BtnPreview").painter = [this](ICanvas& canvas, const Component&) { PaintPreview(canvas); };
  BindFormPlacement(store, Need("FormPlacement"), *form_);
  Component& f = *form_;
  auto bind = [&f](const char* name, std::function<void()> fn) {
    f.SetHandler(name, [fn = std::move(fn)](Component&) { fn(); });
  };
  bind("FormShow", [this] { FormShow(); });
  bind("FormClose", [this] { FormClose(); });
  bind("ListButtonsChange", [this] { ListButtonsChange(); });
  bind("ListButtonsDblClick", [this] { ListButtonsDblClick(); });
  bind("ListButtonsEdited", [this] { ListButtonsEdited(); });
  bind("PnlOrdinamentoResize", [this] { PnlOrdinamentoResize(); });
  bind("PnlCombinazioneResize", [this] { PnlCombinazioneResize(); });
  bind("BtnUpClick", [this] { BtnUpClick(); });
  bind("BtnDownClick", [this] { BtnDownClick(); });
  bind("BtnDeleteClick", [this] { BtnDeleteClick(); });
  bind("BtnAddElementClick", [this] { BtnAddElementClick(); });
  bind("Pop_SeparatorClick", [this] { Pop_SeparatorClick(); });
  bind("BtnFontClick", [this] { BtnFontClick(); });
  bind("BtnHotTrackFontClick", [this] { BtnHotTrackFontClick(); });
  bind("BtnAnteprimaClick", [this] { BtnAnteprimaClick(); });
  bind("BtnApplicaClick", [this] { BtnApplicaClick(); });
  bind("BtnSalvaClick", [this] { BtnSalvaClick(); });
  bind("EditS_CombinazioneChange", [this] { EditS_CombinazioneChange(); });
  bind("BtnSelezionaTuttoClick", [this] { BtnSelezionaTuttoClick(); });
  bind("BtnInvertiClick", [this] { BtnInvertiClick(); });
  f.SetHandler("EditS_ColorButtonClick", [this](Component& e) { EditS_ColorButtonClick(e); });
  // The editors' design values: a button's appearance as a new button has it.
  EditorsFromStyle(TCustomButtonStyle());
  Need("BtnPreview").visible = false;
}

Component& TFormButtonLayout::Need(const char* name) const { return form_->Need(name); }

TRecordTable& TFormButtonLayout::Links() { return data_.TblLinks; }
TRecordTable& TFormButtonLayout::Themes() { return data_.TblThemes; }

int TFormButtonLayout::ShowModal() {
  if (RestoreFormPlacement(Need("FormPlacement"), *form_)) form_->properties["Position"] = "poDesigned";
  return ShowModalForm(*form_, owner_);
}

void TFormButtonLayout::FormShow() {
  for (auto [button, picture] :
       {std::pair{"BtnApplica", "BtnConferma"}, std::pair{"BtnAnteprima", "BtnLente"},
        std::pair{"BtnSalva", "BtnSalva"}, std::pair{"BtnDelete", "BtnElimina"},
        std::pair{"BtnAddElement", "BtnAggiungi"}, std::pair{"BtnUp", "BtnUp"}, std::pair{"BtnDown", "BtnDown"}})
    SetPngButtonImages(Need(button), picture);
  if (!language_.empty()) ApplyLanguage(*form_, language_);
  RenumberRows(Links());
  FillButtonList();
  FillCombinations();
}

void TFormButtonLayout::FormClose() { SaveFormPlacement(Need("FormPlacement"), *form_); }

void TFormButtonLayout::FillButtonList() {
  list_->rows.clear();
  list_->rowImages.clear();
  list_->rowIconPaths.clear();
  list_->selected.clear();
  lastSelection_.clear();
  list_->itemIndex = -1;
  TRecordTable& t = Links();
  for (t.First(); !t.Eof(); t.Next()) {
    const std::string path = Text(t, "Path");
    list_->rows.push_back(ListCells(t));
    // The row shows its target's icon, taken at the list's size where the
    // shell has one, as the buttons take theirs.
    const int image = TCustomButtonStyle::PathIconIndex(path);
    list_->rowImages.push_back(image);
    list_->rowIconPaths.push_back(image >= 0 ? path : std::string());
  }
  list_->Changed();
}

void TFormButtonLayout::FillCombinations() {
  Component& themes = Need("EditS_Combinazione");
  FillWithColumnValues(themes.items, Themes(), "Theme");
  themes.Changed();
}

int TFormButtonLayout::SelectedRow() const { return list_->selected.empty() ? -1 : list_->selected.front(); }

const std::vector<int>& TFormButtonLayout::SelectedRows() const { return list_->selected; }

void TFormButtonLayout::Select(const std::vector<int>& rows) {
  list_->selected.clear();
  for (int r : rows)
    if (r >= 0 && size_t(r) < list_->rows.size()) list_->selected.push_back(r);
  std::sort(list_->selected.begin(), list_->selected.end());
  list_->selected.erase(std::unique(list_->selected.begin(), list_->selected.end()), list_->selected.end());
  list_->itemIndex = SelectedRow();
  lastSelection_ = list_->selected;
  list_->Changed();
}

bool TFormButtonLayout::LocateListRow(int row) { return LocateRow(Links(), "Ordine", std::to_string(row)); }

std::unique_ptr<TCustomButtonStyle> TFormButtonLayout::StyleFromEditors(int row) {
  const bool separator = row >= 0 && size_t(row) < list_->rows.size() &&
                         list_->rows[size_t(row)][0] == kSeparatorCaption &&
                         (list_->rows[size_t(row)].size() < 2 || list_->rows[size_t(row)][1].empty());
  std::unique_ptr<TCustomButtonStyle> s =
      separator ? std::make_unique<TCustomPanelStyle>() : std::make_unique<TCustomButtonStyle>();
  s->Caption = Need("EditS_Caption").caption;
  s->ButtonStyle = uint8_t(ListIndex(Need("EditS_Style")));
  s->AutoSize = Need("EditB_AutoSize").checked;
  s->Width = WholeNumber(Need("EditS_Width").caption);
  s->Height = WholeNumber(Need("EditS_Height").caption);
  s->Color = EditorColour(Need("EditS_Color"));
  s->HotTrackColor = EditorColour(Need("EditS_HotTrackColor"));
  s->ShadowColor = EditorColour(Need("EditS_ShadowColor"));
  s->LightColor = EditorColour(Need("EditS_LightColor"));
  s->Font = ComponentFont(Need("LblFont"), s->Font);
  s->SelFont = ComponentFont(Need("LblHotTrackFont"), s->SelFont);
  s->ShowText = Need("EditB_ShowText").checked;
  s->WordWrap = Need("EditB_WordWrap").checked;
  s->FolderMenu = Need("EditB_FolderMenu").checked;
  s->RealTime = Need("EditB_RealTime").checked;
  s->HotTrack = Need("EditB_HotTrack").checked;
  s->ShowIcon = Need("EditB_ShowIcon").checked;
  s->SmallIcon = Need("EditB_SmallIcon").checked;
  s->TextAlignment = uint8_t(ListIndex(Need("EditS_TextAlignment")));
  s->ImgLayout = uint8_t(ListIndex(Need("EditS_ImgLayout")));
  return s;
}

void TFormButtonLayout::EditorsFromStyle(const TCustomButtonStyle& s) {
  auto text = [this](const char* name, const std::string& v) {
    Component& c = Need(name);
    c.caption = v;
    c.Changed();
  };
  auto check = [this](const char* name, bool v) {
    Component& c = Need(name);
    c.checked = v;
    c.Changed();
  };
  auto choose = [this](const char* name, int index) {
    Component& c = Need(name);
    c.itemIndex = index >= 0 && size_t(index) < c.items.size() ? index : -1;
    c.caption = c.itemIndex >= 0 ? c.items[size_t(c.itemIndex)] : std::string();
    c.Changed();
  };
  text("EditS_Caption", s.Caption);
  choose("EditS_Style", s.ButtonStyle);
  check("EditB_AutoSize", s.AutoSize);
  text("EditS_Width", std::to_string(s.Width));
  text("EditS_Height", std::to_string(s.Height));
  SetEditorColour(Need("EditS_Color"), s.Color);
  SetEditorColour(Need("EditS_HotTrackColor"), s.HotTrackColor);
  SetEditorColour(Need("EditS_ShadowColor"), s.ShadowColor);
  SetEditorColour(Need("EditS_LightColor"), s.LightColor);
  SetComponentFont(Need("LblFont"), s.Font);
  SetComponentFont(Need("LblHotTrackFont"), s.SelFont);
  check("EditB_ShowText", s.ShowText);
  check("EditB_WordWrap", s.WordWrap);
  check("EditB_FolderMenu", s.FolderMenu);
  check("EditB_RealTime", s.RealTime);
  check("EditB_HotTrack", s.HotTrack);
  check("EditB_ShowIcon", s.ShowIcon);
  check("EditB_SmallIcon", s.SmallIcon);
  choose("EditS_TextAlignment", s.TextAlignment);
  choose("EditS_ImgLayout", s.ImgLayout);
}

void TFormButtonLayout::ShowPreview(const TCustomButtonStyle& s) {
  Component& button = Need("BtnPreview");
  if (s.TypeName() != "Button") {
    button.visible = false;
    Need("PnlPreview").visible = false;
    button.Changed();
    Need("PnlPreview").Changed();
    return;
  }
  // The button as the bar would show it, its size the bar's too.
  previewStyle_ = std::make_unique<TCustomButtonStyle>(s);
  scaledDpi_ = 0;
  TCustomButtonStyle copy = s;
  preview_.SetBounds(0, 0, s.Width, s.Height);
  copy.ApplyToButton(preview_);
  // The dialog waits for its one icon: no placeholder in the preview.
  if (copy.ShowIcon) {
    Picture icon;
    if (!PathShowsIcon(copy.Path) || !Shell().IconPicture(copy.Path, copy.IconPixels(), &icon)) icon = Picture();
    ApplyArrivedIcon(preview_, icon);
  }
  button.bounds = Rect{button.bounds.left, button.bounds.top, button.bounds.left + preview_.Width(),
                       button.bounds.top + preview_.Height()};
  button.caption = preview_.Caption();
  button.visible = true;
  button.Changed();
}

void TFormButtonLayout::PaintPreview(ICanvas& canvas) {
  auto* units = dynamic_cast<DpiCanvas*>(&canvas);
  if (!units || units->Scale().IsBase() || !previewStyle_) return preview_.PaintTo(canvas);
  const Dpi dpi = units->Scale();
  if (scaledDpi_ != dpi.Value()) {
    TCustomButtonStyle copy = *previewStyle_;
    scaledPreview_.SetBounds(0, 0, dpi.Scale(copy.Width), dpi.Scale(copy.Height));
    copy.ApplyToButton(scaledPreview_, &units->Target(), dpi);
    if (copy.ShowIcon) {
      // The icon at the size the scale draws it, not a stretched one.
      Picture icon;
      if (!PathShowsIcon(copy.Path) || !Shell().IconPicture(copy.Path, copy.IconPixels(), &icon)) icon = Picture();
      ApplyArrivedIcon(scaledPreview_, icon);
    }
    scaledDpi_ = dpi.Value();
  }
  scaledPreview_.PaintTo(units->Target());
}

void TFormButtonLayout::ShowRow(int row) {
  if (!LocateListRow(row)) return;
  TRecordTable& t = Links();
  std::unique_ptr<TCustomButtonStyle> s =
      Text(t, "Type") == "Button" ? std::make_unique<TCustomButtonStyle>() : std::make_unique<TCustomPanelStyle>();
  Component& hotkey = Need("EditS_Hotkey");
  hotkey.caption = Text(t, "Hotkey");
  hotkey.Changed();
  s->LoadFromRow(t);
  EditorsFromStyle(*s);
  ShowPreview(*s);
}

bool TFormButtonLayout::ApplyHotkey(int row) {
  const std::string typed = Need("EditS_Hotkey").caption;
  if (!LocateListRow(row)) return false;
  TRecordTable& t = Links();
  const std::string caption = Text(t, "Caption");
  Hotkey hk;
  if (!ParseHotkey(typed, &hk)) {
    ErrorMessage(
        FormatText(LangText("MsgErr.HotkeyInvalid",
                            "La combinazione \"%s\" del pulsante \"%s\" non \u00E8 valida (ad esempio \"CA+N\")."),
                   {typed, caption}));
    return false;
  }
  const std::string stored = FormatHotkey(hk);
  if (!stored.empty()) {
    // Two buttons cannot share one: the second would never be pressed.
    for (t.First(); !t.Eof(); t.Next()) {
      Hotkey other;
      if (Text(t, "Ordine") == std::to_string(row) || !ParseHotkey(Text(t, "Hotkey"), &other) || !(other == hk))
        continue;
      const std::string owner = Text(t, "Caption");
      ErrorMessage(FormatText(LangText("MsgErr.HotkeyTwice", "La combinazione %s \u00E8 gi\u00E0 del pulsante \"%s\"."),
                              {HotkeyDisplayText(hk), owner}));
      return false;
    }
  }
  if (!LocateListRow(row)) return false;
  t.Edit();
  if (stored.empty())
    t.FieldByName("Hotkey").Clear();
  else
    t.FieldByName("Hotkey").SetAsString(stored);
  t.Post();
  return true;
}

void TFormButtonLayout::ListButtonsChange() {
  // The editors show the first selected row when the user has just selected
  // it. Adding rows after it to the selection, or taking rows out, keeps
  // what the editors hold, so that one appearance can be set for them all.
  const std::vector<int> before = std::exchange(lastSelection_, list_->selected);
  const int row = SelectedRow();
  if (row >= 0 && !std::binary_search(before.begin(), before.end(), row)) ShowRow(row);
}

void TFormButtonLayout::ListButtonsDblClick() {
  const int row = SelectedRow();
  if (row < 0) return;
  list_->properties[kEditRowProperty] = std::to_string(row);
  list_->Changed();
}

void TFormButtonLayout::ListButtonsEdited() {
  const int row = IntProperty(*list_, kEditedRowProperty, -1);
  const std::string text = list_->Property(kEditedTextProperty);
  if (row < 0 || size_t(row) >= list_->rows.size() || RenameButtonRow(Links(), row, text) == 0) {
    list_->properties[kEditRefusedProperty] = "True";
    return;
  }
  // The list shows the row as the table holds it now: when the file could
  // not be renamed, its old caption.
  if (LocateListRow(row)) {
    list_->rows[size_t(row)] = ListCells(Links());
    if (list_->rows[size_t(row)][0] != text) list_->properties[kEditRefusedProperty] = "True";
  }
  ShowRow(row);
}

void TFormButtonLayout::PnlOrdinamentoResize() {
  Component& strip = Need("PnlOrdinamento");
  Component& buttons = Need("PnlPulsanti");
  const int height = buttons.bounds.Height();
  const int top = (strip.bounds.Height() - height) / 2;
  buttons.bounds = Rect{buttons.bounds.left, top, buttons.bounds.right, top + height};
  buttons.Changed();
}

void TFormButtonLayout::PnlCombinazioneResize() {
  Component& panel = Need("PnlCombinazione");
  Component& themes = Need("EditS_Combinazione");
  Component& save = Need("BtnSalva");
  themes.bounds.right = themes.bounds.left + std::max(0, panel.bounds.Width() - 178);
  const int width = save.bounds.Width();
  save.bounds.left = themes.bounds.right + 4;
  save.bounds.right = save.bounds.left + width;
  themes.Changed();
  save.Changed();
}

void TFormButtonLayout::MoveSelected(bool down) {
  const int i = SelectedRow();
  const int count = int(list_->rows.size());
  if (i < 0 || (down ? i >= count - 1 : i <= 0)) return;
  const int now = down ? MoveButtonAfter(Links(), i) : MoveButtonBefore(Links(), i);
  if (now == i) return;
  FillButtonList();
  Select({now});
  ShowRow(now);
  rebuild_();
}

void TFormButtonLayout::BtnDeleteClick() {
  if (SelectedRow() < 0) return;
  if (MessageBoxYesNo(LangText("Messages.ConfermaEliminazione", "Eliminare l'elemento selezionato?"),
                      DeleteConfirmTitle()) != IDYES)
    return;
  const bool files = ConfirmDeleteFiles();
  const std::vector<int> rows = list_->selected;
  std::string kept;  // the files that would not go
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    const std::string path = LocateListRow(*it) ? Text(Links(), "Path") : std::string();
    DeleteButtonRow(Links(), *it, files);
    if (files && !path.empty() && Files().FileExists(path) && !Files().DirExists(path)) kept += "\r\n" + path;
  }
  if (!kept.empty())
    MessageBoxError(LangText("MsgErr.FilesNotDeleted",
                             "Questi file non sono stati eliminati (gli elementi sono stati tolti dalla barra):") +
                        kept,
                    AppTitle());
  FillButtonList();
  rebuild_();
  if (!list_->rows.empty()) {
    Select({0});
    ShowRow(0);
  }
}

void TFormButtonLayout::BtnAddElementClick() {
  const Component& add = Need("BtnAddElement");
  const Rect r = RectOnForm(add, *form_);
  // Below the button's lower left corner, from the client area's origin.
  PopupComponentMenu(Need("PopupElementi"), DialogScreenPoint(*form_, Point{r.left, r.bottom}), DialogWindowOf(*form_));
}

void TFormButtonLayout::Pop_SeparatorClick() {
  AddSeparatorRow(Links(), Links().GetRecordCount(), kSeparatorCaption);
  FillButtonList();
  const int last = int(list_->rows.size()) - 1;
  Select({last});
  ShowRow(last);
  rebuild_();
}

void TFormButtonLayout::EditS_ColorButtonClick(Component& editor) {
  Color chosen = 0;
  if (!Dialogs().ChooseColor(DialogWindowOf(*form_), EditorColour(editor), &chosen)) return;
  SetComponentColor(editor, chosen, "Font.Color");
  SetEditorColour(editor, chosen);
}

void TFormButtonLayout::ChooseLabelFont(const char* label) {
  Component& l = Need(label);
  FontSpec font = ComponentFont(l, FontSpec{"MS Sans Serif", 8, 0, clWindowText});
  if (!Dialogs().ChooseFont(DialogWindowOf(*form_), &font)) return;
  SetComponentFont(l, font);
}

void TFormButtonLayout::KeepSizesInRange() {
  for (auto [editor, arrows] : {std::pair{"EditS_Width", "UpD_Width"}, std::pair{"EditS_Height", "UpD_Height"}}) {
    Component& e = Need(editor);
    const Component& spin = Need(arrows);
    const long long lo = IntProperty(spin, "Min", 0), hi = IntProperty(spin, "Max", 999);
    const long long typed = WideNumber(e.caption);
    if (typed >= lo && typed <= hi) continue;
    const std::string was = e.caption;
    e.caption = std::to_string(std::clamp(typed, lo, hi));
    e.Changed();
    MessageBoxInfo(FormatText(LangText("Messages.SizeOutOfRange",
                                       "Larghezza e altezza vanno da %s a %s: \"%s\" \u00E8 diventato %s."),
                              {std::to_string(lo), std::to_string(hi), was, e.caption}),
                   AppTitle());
  }
}

void TFormButtonLayout::BtnAnteprimaClick() {
  const int row = SelectedRow();
  if (row < 0 || !LocateListRow(row)) return;
  KeepSizesInRange();
  std::unique_ptr<TCustomButtonStyle> s = StyleFromEditors(row);
  s->Ordine = row;
  s->Path = Text(Links(), "Path");
  ShowPreview(*s);
}

void TFormButtonLayout::BtnApplicaClick() {
  const std::vector<int> rows = list_->selected;
  const size_t n = rows.size();
  const int selected = SelectedRow();
  if (n > 0) KeepSizesInRange();
  for (int row : rows) {
    if (!LocateListRow(row) || Text(Links(), "Type") != "Button") continue;  // separators keep theirs
    std::unique_ptr<TCustomButtonStyle> s = StyleFromEditors(row);
    if (n == 1 && RenameButtonRow(Links(), row, Need("EditS_Caption").caption) == 0) continue;
    if (!LocateListRow(row)) continue;
    TRecordTable& t = Links();
    s->Ordine = row;
    s->Path = Text(t, "Path");
    s->Caption = Text(t, "Caption");
    s->SaveToRow(t);
    // A hotkey belongs to one button: it is set when one row is applied.
    if (n == 1) ApplyHotkey(row);
    if (!LocateListRow(row)) continue;
    list_->rows[size_t(row)] = ListCells(t);
    if (row == selected) ShowRow(row);
  }
  if (n == 0) return;
  list_->Changed();
  rebuild_();
  // The rows stay selected, so that the next apply reaches them all again.
  Select(rows);
  ShowRow(selected);
}

void TFormButtonLayout::BtnSalvaClick() {
  TFormStandardPrompt* prompt = CreatePromptForm(language_);
  const std::string name = PromptText(prompt, LangText("Messages.TtlSalvaModello", "Digitare il nome del modello"),
                                      LangText("Messages.CaptionSalvaModello", "Nome"));
  if (name.empty()) return;
  KeepSizesInRange();
  TRecordTable& t = Themes();
  if (LocateRow(t, "Theme", name)) {
    if (AppMessageBox(LangText("Messages.OverwriteTemplate",
                               "Esiste gi\u00E0 un tema con lo stesso nome. Si desidera sovrascrivere?"),
                      LangText("TTL_CONFERMA", "Conferma"), kBoxYesNo) != IDYES)
      return;
    t.Edit();
  } else {
    t.Append();
  }
  // The whole row goes in one post: its name and the editors' appearance.
  // Without a selected row the editors hold a button's appearance.
  std::unique_ptr<TCustomButtonStyle> s = StyleFromEditors(SelectedRow());
  t.FieldByName("Theme").SetAsString(name);
  s->SaveToRow(t);
  FillCombinations();
  SaveUserTable(t, "Data", "Themes", true, data_.SaveFormat);
  // Names are told apart by their letter case: say so when that is all
  // that tells this one from another.
  for (const std::string& other : ColumnValues(t, "Theme")) {
    if (other != name && UpperCaseText(other) == UpperCaseText(name)) {
      MessageBoxInfo(FormatText(LangText("Messages.TemplateCaseOnly",
                                         "La combinazione \"%s\" \u00E8 stata salvata a parte: differisce da \"%s\" "
                                         "solo per le maiuscole."),
                                {name, other}),
                     LangText("TTL_CONFERMA", "Conferma"));
      break;
    }
  }
}

void TFormButtonLayout::EditS_CombinazioneChange() {
  const int row = SelectedRow();
  if (row < 0) return;
  if (!LocateRow(Themes(), "Theme", Need("EditS_Combinazione").caption)) return;
  std::unique_ptr<TCustomButtonStyle> s = StyleFromEditors(row);
  s->LoadFromRow(Themes());
  EditorsFromStyle(*s);
}

void TFormButtonLayout::BtnSelezionaTuttoClick() {
  std::vector<int> all(list_->rows.size());
  for (size_t i = 0; i < all.size(); ++i)
    all[i] = int(i);
  Select(all);
}

void TFormButtonLayout::BtnInvertiClick() {
  std::vector<int> inverted;
  for (size_t i = 0; i < list_->rows.size(); ++i)
    if (!std::binary_search(list_->selected.begin(), list_->selected.end(), int(i))) inverted.push_back(int(i));
  Select(inverted);
}

void ShowButtonLayout(TDataModule& data, TSettingsStore& store, const std::string& language,
                      std::function<void()> rebuildBar, WindowId owner) {
  std::unique_ptr<TFormButtonLayout> dialog;
  try {
    dialog = std::make_unique<TFormButtonLayout>(data, store, language, std::move(rebuildBar), owner);
  } catch (const std::exception& e) {
    ShowException(e.what());
    return;
  }
  dialog->ShowModal();
}

}  // namespace tov
