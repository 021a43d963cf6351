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

constexpr int kSpacerHeight = 5;
constexpr Color kTitleShadow = 0x4F4228;
constexpr Color kWhite = 0xFFFFFF;
constexpr char kSettingsTreeFile[] = "SettingsTree.ini";

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

TSettingsDialog::TSettingsDialog(TSettingsStore& store, std::string initialSection, std::string language)
    : store_(store),
      initialSection_(std::move(initialSection)),
      language_(std::move(language)),
      form_(BuildSettingsForm()) {
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
  f.SetHandler("AlberoImpostazioniChange", [this](Component&) { SettingsTreeChange(); });
  f.SetHandler("AlberoImpostazioniEditing", [](Component&) {});  // the tree's labels are never edited
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
  if (!language_.empty()) ApplyLanguage(*form_, language_);
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
                                        "Non \u00E8 stato possibile salvare la copia delle impostazioni in \"%s\": "
                                        "\"Annulla\" non potr\u00E0 ripristinare le pagine gi\u00E0 lasciate."),
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
                                      "Non \u00E8 stato possibile scrivere il file \"%s\": le impostazioni di questa "
                                      "pagina non sono state salvate e restano nella finestra."),
                             {store_.IniFileName()}),
                  AppTitle());
}

void TSettingsDialog::SettingsTreeChange() {
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
                                      "La voce \"%s\" della sezione \"%s\" non pu\u00F2 essere modificata qui: il suo "
                                      "nome pu\u00F2 contenere solo lettere, cifre e trattini bassi."),
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

void TSettingsDialog::FillPage() {
  shownPage_ = tree_->itemIndex;
  const std::string section = SelectedSection();
  for (const std::string& key : store_.TemplateSectionKeys(section))
    if (Component* editor = Editor(key)) FillEditor(section, key, *editor);
}

bool TSettingsDialog::SavePage() {
  if (shownPage_ < 0 || tree_->itemIndex < 0) return true;
  const std::string section = store_.TemplateSectionName(shownPage_);
  bool saved = true;
  for (const std::string& key : store_.TemplateSectionKeys(section))
    if (Component* editor = Editor(key)) saved = SaveEditor(section, key, *editor) && saved;
  return saved;
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

int ShowSettingsDialog(TSettingsStore& store, const std::string& initialSection, const std::string& language,
                       WindowId owner) {
  std::unique_ptr<TSettingsDialog> dialog;
  try {
    dialog = std::make_unique<TSettingsDialog>(store, initialSection, language);
  } catch (const std::exception& e) {
    ShowException(e.what());
    return kModalCloseResult;
  }
  return dialog->ShowModal(owner);
}

}  // namespace tov
