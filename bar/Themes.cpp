#include "bar/Themes.h"

#include "base/Casefold.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "tables/TableFiles.h"
#include "text/Texts.h"

namespace tov {

const char* const kThemesSubDir = "Themes";
const char* const kThemeExt = "theme";
const char* const kThemeIniExt = "themeini";
const char* const kThemeNameProperty = "ThemeName";
const char* const kThemeKeptColumns[6] = {"Ordine", "Type", "Caption", "Path", "FolderMenu", "RealTime"};

std::string DeleteThemesCaption() { return LangText("Messages.DeleteThemes", "Elimina temi"); }

std::vector<std::string> ThemeNames(const std::string& folder) {
  std::vector<std::string> names;
  const std::string ext = std::string(".") + kThemeExt;
  for (const FindEntry& e : Files().FindFiles(JoinPath(folder, "*" + ext))) {
    // Only what truly ends in ".theme": a file system may also match longer
    // extensions through short names.
    if (e.IsDirectory() || e.name.size() <= ext.size()) continue;
    if (UpperCaseText(e.name.substr(e.name.size() - ext.size())) != UpperCaseText(ext)) continue;
    names.push_back(e.name.substr(0, e.name.size() - ext.size()));
  }
  return names;
}

bool ApplyThemeRows(TRecordTable& links, TRecordTable& theme) {
  if (!theme.Active() || theme.GetRecordCount() == 0) return false;
  // A scratch table of the bar's columns takes each row in turn: the bar's
  // values, the theme row over them, the kept columns back. It converts and
  // checks as the bar's own table would.
  std::vector<TFieldDef> defs;
  for (int i = 0; i < links.FieldCount(); ++i) {
    const TField& f = links.Field(i);
    defs.push_back(TFieldDef{f.FieldName(), f.DataType(), f.Size(), f.Required()});
  }
  TRecordTable scratch;
  scratch.ReplaceStructure(defs);
  for (int i = 0; i < links.FieldCount(); ++i)
    scratch.Field(i).ReadOnly = links.Field(i).ReadOnly;
  std::vector<int> kept;
  for (const char* name : kThemeKeptColumns)
    if (const TField* f = links.FindField(name)) kept.push_back(f->Index());

  std::vector<TBookmark> rows;
  std::vector<std::vector<TValue>> values;
  theme.First();
  for (links.First(); !links.Eof(); links.Next()) {
    scratch.Append();
    for (int i = 0; i < links.FieldCount(); ++i)
      scratch.WritableValue(i) = links.Field(i).Value();
    CopyRecordByFieldName(theme, scratch);
    for (int i : kept)
      scratch.WritableValue(i) = links.Field(i).Value();
    scratch.Post();
    std::vector<TValue>& row = values.emplace_back();
    for (int i = 0; i < scratch.FieldCount(); ++i)
      row.push_back(scratch.Field(i).Value());
    rows.push_back(links.GetBookmark());
    if (!theme.Eof()) theme.Next();
    if (theme.Eof()) theme.Last();
  }
  // Every row converted: now the bar's rows take them. The kept "Ordine"
  // leaves each row where it is; the bookmarks find it whatever happens.
  for (size_t k = 0; k < rows.size(); ++k) {
    if (!links.GotoBookmark(rows[k])) continue;
    links.Edit();
    for (int i = 0; i < links.FieldCount(); ++i)
      links.WritableValue(i) = values[k][size_t(i)];
    links.Post();
  }
  return true;
}

std::string ThemeMenuCaption(const std::string& name) {
  std::string caption;
  for (char c : name) {
    if (c == '&') caption += '&';
    caption += c;
  }
  // "&-" shows a dash, its own access key: a lone "-" is a separator line.
  return caption == "-" ? "&-" : caption;
}

}  // namespace tov
