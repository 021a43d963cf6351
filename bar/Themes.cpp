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

std::string DeleteThemesCaption() { return LangText("Messages.DeleteThemes", "Elimina temi"); }

std::vector<std::string> ThemeNames(const std::string& folder) {
  std::vector<std::string> names;
  const std::string ext = std::string(".") + kThemeExt;
  for (const FindEntry& e : Files().FindFiles(JoinPath(folder, "*" + ext))) {
    // Only what truly ends in ".theme": a file system may also match longer
    // extensions through short names.
    if (e.IsDirectory() || e.name.size() <= ext.size()) continue;
    if (AnsiUpperCase(e.name.substr(e.name.size() - ext.size())) != AnsiUpperCase(ext)) continue;
    names.push_back(e.name.substr(0, e.name.size() - ext.size()));
  }
  return names;
}

bool ApplyThemeRows(TRecordTable& links, TRecordTable& theme) {
  if (!theme.Active() || theme.GetRecordCount() == 0) return false;
  static const char* const kKept[] = {"Ordine", "Type", "Caption", "Path"};
  theme.First();
  for (links.First(); !links.Eof(); links.Next()) {
    std::string kept[4];
    for (size_t i = 0; i < 4; ++i)
      kept[i] = links.FieldByName(kKept[i]).AsString();
    links.Edit();
    CopyRecordByFieldName(theme, links);
    for (size_t i = 0; i < 4; ++i)
      links.FieldByName(kKept[i]).SetAsString(kept[i]);
    links.Post();
    if (!theme.Eof()) theme.Next();
    if (theme.Eof()) theme.Last();
  }
  return true;
}

}  // namespace tov
