#include "dialogs/SettingsDialog.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>
#include <vector>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "forms/SettingsForm.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/UserData.h"
#include "text/LanguageFiles.h"
#include "text/LocaleDate.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormAlign.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormHelpers.h"
#include "toolkit/FormRuntime.h"

namespace tov {

namespace {

constexpr int kRowHeight = 28;
constexpr int kSpacerHeight = 5;
constexpr Color kTitleShadow = 0x4F4228;
constexpr Color kWhite = 0xFFFFFF;
constexpr char kEditorPrefix[] = "Edit_";
constexpr char kSettingsTreeFile[] = "SettingsTree.ini";
// The date a DATE key without a value shows: 1 January 1899.
constexpr char kDefaultDate[] = "1/1/1899";

// A stored date read in the locale's order; the program's own default reads
// as what it is whatever the order (a locale that writes the year first
// would take its 1899 for a day).
bool ParseStoredDate(const std::string& text, DateTime* date) {
  if (ParseLocaleDate(text, date, true)) return true;
  if (text != kDefaultDate) return false;
  *date = DateTime{};
  date->year = 1899;
  date->month = 1;
  date->day = 1;
  return true;
}

// What the user can change in an editor, as text.
std::string ColourText(const Component& e) { return e.Property("Color"); }

// The editor's kind, default size and top for a field type; Other for the
// types no editor shows (TIME, unknown).
struct EditorKind {
  ComponentKind kind;
  int width;
  int height;
  int top;
};

EditorKind EditorKindOf(TSettingType type) {
  switch (type) {
    case stInteger:
    case stFloat:
      return {ComponentKind::Edit, 80, 21, 2};
    case stString:
    case stCryptedString:
      return {ComponentKind::Edit, 160, 21, 2};
    case stBool:
      return {ComponentKind::CheckBox, 17, 17, 6};
    case stDate:
    case stDateTime:
      return {ComponentKind::DateTimePicker, 110, 21, 2};
    case stDirectory:
      return {ComponentKind::DirectoryEdit, 250, 21, 2};
    case stFile:
      return {ComponentKind::FilenameEdit, 250, 21, 2};
    case stChoice:
    case stFixedChoice:
    case stChoiceIndex:
      return {ComponentKind::ComboBox, 150, 21, 2};
    case stColor:
      return {ComponentKind::ComboEdit, 80, 21, 2};
    case stTime:
    case stNone:
      break;
  }
  return {ComponentKind::Other, 0, 0, 0};
}

// A name an editor can carry: letters, digits and underscores.
bool IsEditorName(const std::string& key) {
  if (key.empty()) return false;
  for (char ch : key)
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_') return false;
  return true;
}

// Each channel moved by delta, within 0 to 255.
Color Shifted(Color c, int delta) {
  auto ch = [delta](int v) { return uint8_t(std::clamp(v + delta, 0, 255)); };
  return RGB(ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

}  // namespace

TSettingsDialog::TSettingsDialog(TSettingsStore& store, std::string initialSection)
    : store_(store), initialSection_(std::move(initialSection)), form_(BuildSettingsForm()) {
  tree_ = &Need("AlberoImpostazioni");
  page_ = &Need("PnlImpostazioni");
  hintPanel_ = &Need("PnlHint");
  title_ = &Need("LblSezione");
  title_->painter = [this](ICanvas& canvas, const Component& self) { PaintSectionTitle(canvas, self); };
  Need("HintBox").painter = [this](ICanvas& canvas, const Component&) {
    hintBox_.SetSize(canvas.Width(), canvas.Height());
    hintBox_.Paint(canvas);
  };
  BindFormPlacement(store_, Need("FormPlacement"), *form_);
  Component& f = *form_;
  f.SetHandler("FormShow", [this](Component&) { FormShow(); });
  f.SetHandler("FormClose", [this](Component&) { FormClose(); });
  f.SetHandler("AlberoImpostazioniChange", [this](Component&) { AlberoImpostazioniChange(); });
  f.SetHandler("AlberoImpostazioniEditing", [](Component&) {});
  f.SetHandler("BtnConfermaClick", [this](Component&) { BtnConfermaClick(); });
  f.SetHandler("BtnAnnullaClick", [this](Component&) { BtnAnnullaClick(); });
  f.SetHandler("NumberChange", [this](Component& c) { NumberChange(c); });
  f.SetHandler("ComboColorButtonClick", [this](Component& c) { ComboColorButtonClick(c); });
}

Component& TSettingsDialog::Need(const char* name) const { return form_->Need(name); }

int TSettingsDialog::ShowModal(WindowId owner) {
  // Where it was closed last, else centred on the screen.
  if (RestoreFormPlacement(Need("FormPlacement"), *form_)) form_->properties["Position"] = "poDesigned";
  return ShowModalForm(*form_, owner);
}

Color TSettingsDialog::StripColor() const { return Shifted(kAccentColor, -20); }

void TSettingsDialog::FormShow() {
  const std::string& language = BarSettings().Lingua;
  if (!language.empty()) ApplyLanguage(*form_, language);
  WriteLanguageList(store_.ConfigFolder());

  // The list of sections, as an indented outline read back from a file.
  const std::vector<std::string> captions = store_.SectionCaptions();
  std::string outline;
  for (const std::string& caption : captions)
    outline += caption + "\r\n";
  const std::string treeFile = UserTempDir() + kSettingsTreeFile;
  std::string readBack;
  if (WriteFileSafely(Files(), treeFile, outline) && Files().ReadFile(treeFile, &readBack)) outline = readBack;
  tree_->items.clear();
  for (const std::string& line : SplitLines(outline))
    if (!Trim(line).empty()) tree_->items.push_back(line);
  tree_->itemIndex = -1;
  shownPage_ = -1;

  if (!tree_->items.empty()) tree_->itemIndex = 0;
  backedUp_ = store_.BackupValues();
  if (!backedUp_)
    MessageBoxError(FormatText(LangText("MsgErr.SettingsBackup",
                                        "Non \xE8 stato possibile salvare la copia delle impostazioni in \"%s\": "
                                        "\"Annulla\" non potr\xE0 ripristinare le pagine gi\xE0 lasciate."),
                               {store_.ConfigFolder() + "Settings.bkp"}),
                    AppTitle());
  ColourStrips();

  int index = -1;
  if (!tree_->items.empty()) {
    const std::string wanted = initialSection_.empty() ? store_.TemplateSectionName(0) : initialSection_;
    index = store_.TemplateSectionIndex(wanted);
    if (index < 0 || size_t(index) >= tree_->items.size()) index = 0;
  }
  tree_->Changed();
  if (index >= 0) ShowEntry(index);
}

void TSettingsDialog::ColourStrips() {
  const Color strip = StripColor();
  for (const char* name : {"PnlColAlbero", "PnlColSezione"}) {
    Component& c = Need(name);
    SetComponentColor(c, strip);
    SetComponentColor(c, Shifted(strip, 40), "ColorHighLight");
    SetComponentColor(c, Shifted(strip, -40), "ColorShadow");
    c.Changed();
  }
  title_->Changed();
}

std::string TSettingsDialog::SelectedSection() const {
  return tree_->itemIndex < 0 ? std::string() : store_.TemplateSectionName(tree_->itemIndex);
}

bool TSettingsDialog::ShowEntry(int index) {
  if (shownPage_ >= 0 && !SavePage()) {
    // The edits stay in the page, which stays shown.
    tree_->itemIndex = shownPage_;
    tree_->Changed();
    TellNotSaved();
    return false;
  }
  tree_->itemIndex = index;
  tree_->Changed();
  BuildPage();
  return true;
}

void TSettingsDialog::TellNotSaved() {
  MessageBoxError(FormatText(LangText("MsgErr.SettingsNotSaved",
                                      "Non \xE8 stato possibile scrivere il file \"%s\": le impostazioni di questa "
                                      "pagina non sono state salvate e restano nella finestra."),
                             {store_.IniFileName()}),
                  AppTitle());
}

void TSettingsDialog::AlberoImpostazioniChange() {
  // The list tells its new choice; the page shown so far is written first.
  const int chosen = tree_->itemIndex;
  if (chosen < 0 || chosen == shownPage_) return;
  ShowEntry(chosen);
}

Component* TSettingsDialog::Editor(const std::string& key) const {
  for (Component* c : page_->Owned())
    if (SameNameIgnoringCase(c->name, kEditorPrefix + key)) return c;
  return nullptr;
}

void TSettingsDialog::BuildPage() {
  // The page is made away from the dialog and put back whole, so that the
  // dialog realises and lays out its rows once.
  Component& scroll = *page_->Parent();
  std::unique_ptr<Component> page = scroll.Release(*page_);
  page->RemoveChildren();
  shownPage_ = -1;
  filled_.clear();
  itemLines_.clear();

  const std::string section = SelectedSection();
  title_->caption = tree_->itemIndex < 0 ? std::string() : Trim(tree_->items[size_t(tree_->itemIndex)]);
  const std::vector<std::string> keys = store_.TemplateSectionKeys(section);

  std::unique_ptr<ICanvas> canvas = Canvases().CreateBitmapCanvas(1, 1);
  canvas->SetFont(FormFontOf(*form_));
  int captionWidth = 0;
  for (const std::string& key : keys)
    captionWidth = std::max(captionWidth, canvas->TextExtent(store_.FieldCaption(section, key)).cx);

  const std::string hint = store_.ConfigText(section, "Hint", "");
  hintPanel_->visible = !hint.empty();
  hintBox_.SetLines({hint});

  std::vector<std::string> made;
  for (const std::string& key : keys) {
    bool twice = false;
    for (const std::string& m : made)
      twice = twice || SameNameIgnoringCase(m, key);
    if (!IsEditorName(key) || twice) {
      MessageBoxError(
          FormatText(twice ? LangText("MsgErr.SettingKeyTwice",
                                      "La voce \"%s\" compare due volte nella sezione \"%s\": vale la prima.")
                           : LangText("MsgErr.SettingKeyName",
                                      "La voce \"%s\" della sezione \"%s\" non pu\xF2 essere modificata qui: il suo "
                                      "nome pu\xF2 contenere solo lettere, cifre e trattini bassi."),
                     {key, section}),
          AppTitle());
      continue;
    }
    made.push_back(key);
    AddRow(*page, section, key, captionWidth);
    AlignControls(*page);
  }
  // The spacer, topmost.
  Component& spacer = page->Add(MakeComponent(ComponentKind::Panel));
  spacer.properties["Align"] = "alTop";
  spacer.properties["BevelOuter"] = "bvNone";
  spacer.bounds = Rect{0, -1, 0, kSpacerHeight - 1};
  AlignControls(*page);

  int height = 6, width = 0;
  for (size_t i = 0; i < page->ChildCount(); ++i) {
    const Component& row = page->Child(i);
    height += row.bounds.Height();
    for (size_t j = 0; j < row.ChildCount(); ++j)
      if (row.Child(j).kind != ComponentKind::Label) width = std::max(width, int(row.Child(j).bounds.right));
  }
  page->bounds = Rect{0, 0, width + 14, height};
  AlignControls(*page);
  FillPage();
  page_ = &scroll.Add(std::move(page), 0);
  form_->Changed();
}

void TSettingsDialog::AddRow(Component& page, const std::string& section, const std::string& key, int captionWidth) {
  const TSettingType type = store_.GetFieldType(section, key);
  const EditorKind kind = EditorKindOf(type);
  auto row = MakeComponent(ComponentKind::Panel);
  row->SetOwner(&page);
  row->properties["Align"] = "alTop";
  row->properties["BevelOuter"] = "bvNone";
  row->properties["BorderWidth"] = "3";
  // Above the rows made before it: the page lists its keys last first.
  row->bounds = Rect{0, -1, 0, kRowHeight - 1};
  const std::string hint = store_.FieldHint(section, key);

  auto label = MakeComponent(ComponentKind::Label, "", store_.FieldCaption(section, key));
  label->SetOwner(&page);
  label->bounds = Rect{7, 6, 7 + captionWidth, 19};
  label->hint = hint;
  row->Add(std::move(label));
  if (kind.kind == ComponentKind::Other) {
    page.Add(std::move(row));
    return;
  }

  const int templateWidth = store_.GetFieldWidth(section, key);
  const int left = 17 + captionWidth;
  auto editor = MakeComponent(kind.kind, kEditorPrefix + key);
  editor->SetOwner(&page);
  editor->bounds =
      Rect{left, kind.top, left + (templateWidth > 0 ? templateWidth : kind.width), kind.top + kind.height};
  editor->hint = hint;
  Component& e = *editor;
  switch (type) {
    case stInteger:
    case stFloat:
      e.Bind("OnChange", "NumberChange");
      break;
    case stCryptedString:
      e.properties["PasswordChar"] = "*";
      break;
    case stFixedChoice:
    case stChoiceIndex:
      e.properties["Style"] = "csDropDownList";
      break;
    case stColor:
      e.properties["ReadOnly"] = "True";
      e.Bind("OnButtonClick", "ComboColorButtonClick");
      break;
    case stDirectory:
      e.Bind("OnButtonClick", "DirectoryButtonClick", [this](Component& c) { BrowseFolder(c); });
      break;
    case stFile:
      e.Bind("OnButtonClick", "FileButtonClick", [this, section, key](Component& c) { BrowseFile(c, section, key); });
      break;
    default:
      break;
  }
  if (type == stChoice || type == stFixedChoice || type == stChoiceIndex) {
    // The choices: the lines of the key's list file, when there is one. An
    // index counts the file's lines, blank ones included.
    std::string list;
    std::vector<int>& lines = itemLines_[key];
    if (Files().ReadFile(store_.ConfigFolder() + key + ".lst", &list)) {
      const std::vector<std::string> all = TextLines(list);
      for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].empty()) continue;
        e.items.push_back(all[i]);
        lines.push_back(int(i));
      }
    }
  }
  const Rect editorBounds = e.bounds;
  row->Add(std::move(editor));
  if (type == stInteger || type == stFloat) {
    auto spin = MakeComponent(ComponentKind::UpDown, "Spin_" + key);
    spin->SetOwner(&page);
    spin->bounds = Rect{editorBounds.right, editorBounds.top, editorBounds.right + 16, editorBounds.bottom};
    spin->properties["Associate"] = kEditorPrefix + key;
    spin->properties["Min"] = "0";
    spin->properties["Max"] = "100";
    row->Add(std::move(spin));
  }
  page.Add(std::move(row));
}

void TSettingsDialog::FillPage() {
  shownPage_ = tree_->itemIndex;
  const std::string section = SelectedSection();
  for (const std::string& key : store_.TemplateSectionKeys(section))
    if (Component* editor = Editor(key)) FillEditor(section, key, *editor);
}

void TSettingsDialog::FillEditor(const std::string& section, const std::string& key, Component& e) {
  // A value the file holds is written again only when the user changes it.
  bool keep = !store_.StoredText(section, key).empty();
  switch (store_.GetFieldType(section, key)) {
    case stInteger:
      e.caption = std::to_string(store_.GetInteger(section, key, 0));
      break;
    case stFloat:
      e.caption = FormatSettingFloat(store_.GetFloat(section, key, 0));
      break;
    case stString:
    case stDirectory:
    case stFile:
    case stChoice:
      e.caption = store_.GetString(section, key, "");
      break;
    case stCryptedString:
      e.caption = store_.GetCryptedString(section, key, "");
      break;
    case stBool:
      e.checked = store_.GetBool(section, key, false);
      break;
    case stDate:
    case stDateTime: {
      const std::string text = store_.GetString(section, key, kDefaultDate);
      DateTime date;
      if (ParseStoredDate(text, &date)) {
        e.caption = IsoDateText(date);
      } else {
        // The editor stays empty, and the page goes on.
        e.caption.clear();
        MessageBoxError(FormatText(LangText("MsgErr.SettingNotADate",
                                            "'%s' non \xE8 una data valida: la voce \"%s\" (%s) resta vuota e il "
                                            "valore scritto resta com'\xE8 finch\xE9 non si sceglie una data."),
                                   {text, store_.FieldCaption(section, key), section + "." + key}),
                        AppTitle());
      }
      break;
    }
    case stFixedChoice: {
      const std::string text = store_.GetString(section, key, "");
      e.itemIndex = -1;
      for (size_t i = 0; i < e.items.size(); ++i) {
        if (AnsiUpperCase(e.items[i]) == AnsiUpperCase(text)) {
          e.itemIndex = int(i);
          break;
        }
      }
      e.caption = e.itemIndex >= 0 ? e.items[size_t(e.itemIndex)] : std::string();
      // A text the list does not offer is kept until the user chooses.
      keep = keep || (e.itemIndex < 0 && !text.empty());
      break;
    }
    case stChoiceIndex: {
      const int index = store_.GetInteger(section, key, 0);
      const std::vector<int>& lines = itemLines_[key];
      const auto at = std::find(lines.begin(), lines.end(), index);
      e.itemIndex = at == lines.end() || size_t(at - lines.begin()) >= e.items.size() ? -1 : int(at - lines.begin());
      e.caption = e.itemIndex >= 0 ? e.items[size_t(e.itemIndex)] : std::string();
      keep = keep || (e.itemIndex < 0 && index != -1);
      break;
    }
    case stColor:
      SetComponentColor(e, Color(store_.GetInteger(section, key, 0)));
      break;
    case stTime:
    case stNone:
      return;
  }
  filled_[key] = Filled{e.caption, e.itemIndex, e.checked, ColourText(e), keep};
  e.Changed();
}

bool TSettingsDialog::SavePage() {
  if (shownPage_ < 0 || tree_->itemIndex < 0) return true;
  const std::string section = store_.TemplateSectionName(shownPage_);
  bool saved = true;
  for (const std::string& key : store_.TemplateSectionKeys(section))
    if (Component* editor = Editor(key)) saved = SaveEditor(section, key, *editor) && saved;
  return saved;
}

bool TSettingsDialog::SaveEditor(const std::string& section, const std::string& key, Component& e) {
  // Untouched, a value the file holds (or one the editor cannot show) stays
  // as it is written.
  if (auto f = filled_.find(key); f != filled_.end() && f->second.keep && f->second.caption == e.caption &&
                                  f->second.itemIndex == e.itemIndex && f->second.checked == e.checked &&
                                  f->second.colour == ColourText(e))
    return true;
  int32_t i = 0;
  double d = 0;
  switch (store_.GetFieldType(section, key)) {
    case stInteger:
      return store_.SetInteger(section, key, ParseSettingInteger(e.caption, &i) ? i : 0);
    case stFloat:
      return store_.SetFloat(section, key, ParseSettingFloat(e.caption, &d) ? d : 0);
    case stString:
    case stDirectory:
    case stFile:
    case stChoice:
      return store_.SetString(section, key, e.caption);
    case stCryptedString:
      return store_.SetCryptedString(section, key, e.caption);
    case stBool:
      return store_.SetBool(section, key, e.checked);
    case stDate:
    case stDateTime: {
      DateTime picked;
      // No date picked: what is written stays.
      if (!ParseIsoDate(e.caption, &picked)) return true;
      const std::string stored = store_.GetString(section, key, kDefaultDate);
      DateTime was;
      if (ParseStoredDate(stored, &was) && was == picked)
        return store_.SetString(section, key, stored);  // the same date, its time kept
      return store_.SetString(section, key, LocaleDateText(picked));
    }
    case stFixedChoice:
      return store_.SetString(
          section, key, e.itemIndex >= 0 && size_t(e.itemIndex) < e.items.size() ? e.items[size_t(e.itemIndex)] : "");
    case stChoiceIndex: {
      const std::vector<int>& lines = itemLines_[key];
      return store_.SetInteger(
          section, key, e.itemIndex >= 0 && size_t(e.itemIndex) < lines.size() ? lines[size_t(e.itemIndex)] : -1);
    }
    case stColor:
      return store_.SetInteger(section, key, int32_t(ComponentColor(e, 0)));
    case stTime:
    case stNone:
      break;
  }
  return true;
}

void TSettingsDialog::BtnConfermaClick() {
  shownPage_ = tree_->itemIndex;
  // A page that could not be written keeps the dialog open, its edits shown.
  if (!SavePage()) {
    TellNotSaved();
    return;
  }
  form_->properties["ModalResult"] = "1";
}

void TSettingsDialog::BtnAnnullaClick() {
  if (!restored_) store_.RestoreValues();
  restored_ = true;
  form_->properties["ModalResult"] = "2";
}

void TSettingsDialog::FormClose() {
  // Closed any way but "Conferma": every value goes back as it was.
  if (ModalResultOf(*form_) != 1 && !restored_) {
    store_.RestoreValues();
    restored_ = true;
  }
  // The copy, protected values and all, is not left on the disk.
  store_.DiscardBackup();
  SaveFormPlacement(Need("FormPlacement"), *form_);
}

void TSettingsDialog::NumberChange(Component& editor) {
  double d = 0;
  if (ParseSettingFloat(editor.caption, &d)) return;
  editor.caption = "0";
  editor.Changed();
}

void TSettingsDialog::ComboColorButtonClick(Component& editor) {
  Color chosen = 0;
  if (!Dialogs().ChooseColor(DialogWindowOf(*form_), lastColour_, &chosen)) return;
  lastColour_ = chosen;
  SetComponentColor(editor, chosen);
  editor.Changed();
}

void TSettingsDialog::BrowseFolder(Component& editor) {
  std::string chosen;
  if (!Dialogs().BrowseForFolder(DialogWindowOf(*form_), editor.caption, &chosen)) return;
  editor.caption = chosen;
  editor.Changed();
  editor.Fire("OnChange");
}

void TSettingsDialog::BrowseFile(Component& editor, const std::string& section, const std::string& key) {
  FileDialogRequest request;
  const std::string ext = store_.GetTemplateAttribute(section, key, "FileExt");
  if (!ext.empty()) request.filter = "File " + AnsiUpperCase(ext) + "(*." + AnsiUpperCase(ext) + ")|*." + ext;
  request.fileName = editor.caption;
  const size_t slash = editor.caption.find_last_of("\\/");
  if (slash != std::string::npos) request.initialDir = editor.caption.substr(0, slash);
  std::string chosen;
  if (!Dialogs().OpenFileName(DialogWindowOf(*form_), request, &chosen)) return;
  editor.caption = chosen;
  editor.Changed();
  editor.Fire("OnChange");
}

void TSettingsDialog::PaintSectionTitle(ICanvas& canvas, const Component& self) const {
  const Rect all{0, 0, canvas.Width(), canvas.Height()};
  canvas.FillRect(all, StripColor());
  FontSpec font;
  font.name = "Tahoma";
  font.size = 10;
  font.style = kFontBold;
  font.color = kTitleShadow;
  canvas.SetFont(font);
  Rect shadow{7, 1, all.right, all.bottom + 1};
  canvas.DrawTextIn(self.caption, shadow, kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix);
  font.color = kWhite;
  canvas.SetFont(font);
  Rect text{6, 0, all.right, all.bottom};
  canvas.DrawTextIn(self.caption, text, kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix);
}

int ShowSettingsDialog(TSettingsStore& store, const std::string& initialSection, WindowId owner) {
  std::unique_ptr<TSettingsDialog> dialog;
  try {
    dialog = std::make_unique<TSettingsDialog>(store, initialSection);
  } catch (const std::exception& e) {
    ShowException(e.what());
    return kModalCloseResult;
  }
  return dialog->ShowModal(owner);
}

}  // namespace tov
