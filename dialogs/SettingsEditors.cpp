// The settings dialog's editors: one row per key of the page shown, its
// editor made for the key's field type, filled from the store and written
// back to it only when the user changed it.
#include <algorithm>
#include <string>
#include <vector>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "dialogs/SettingsDialog.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"
#include "text/LocaleDate.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormHelpers.h"
#include "toolkit/FormRuntime.h"

namespace tov {

namespace {

constexpr int kRowHeight = 28;
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

}  // namespace

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
                                            "'%s' non \u00E8 una data valida: la voce \"%s\" (%s) resta vuota e il "
                                            "valore scritto resta com'\u00E8 finch\u00E9 non si sceglie una data."),
                                   {text, store_.FieldCaption(section, key), section + "." + key}),
                        AppTitle());
      }
      break;
    }
    case stFixedChoice: {
      const std::string text = store_.GetString(section, key, "");
      e.itemIndex = -1;
      for (size_t i = 0; i < e.items.size(); ++i) {
        if (UpperCaseText(e.items[i]) == UpperCaseText(text)) {
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
  if (!ext.empty()) request.filter = "File " + UpperCaseText(ext) + "(*." + UpperCaseText(ext) + ")|*." + ext;
  request.fileName = editor.caption;
  const size_t slash = editor.caption.find_last_of("\\/");
  if (slash != std::string::npos) request.initialDir = editor.caption.substr(0, slash);
  std::string chosen;
  if (!Dialogs().OpenFileName(DialogWindowOf(*form_), request, &chosen)) return;
  editor.caption = chosen;
  editor.Changed();
  editor.Fire("OnChange");
}
}  // namespace tov
