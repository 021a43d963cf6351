// Themes: named snapshots of how the bar looks, two files each in the user
// data sub-folder "Themes": N.theme, the button table as it was saved (a
// table file), and N.themeini, a byte copy of the user settings file, of
// which a theme brings back only the panel keys.
#pragma once
#include <string>
#include <vector>

#include "tables/RecordTable.h"

namespace tov {

extern const char* const kThemesSubDir;  // "Themes"
extern const char* const kThemeExt;      // "theme"
extern const char* const kThemeIniExt;   // "themeini"
// The property of a theme's menu item that holds the theme's name.
extern const char* const kThemeNameProperty;  // "ThemeName"

// The caption of the sub-menu that deletes themes, in the current language.
std::string DeleteThemesCaption();

// The names of the themes in the folder (its "*.theme" files without the
// extension), in the order the file system lists them.
std::vector<std::string> ThemeNames(const std::string& folder);

// The columns a row keeps when a theme dresses it: what makes it the bar's
// and what it does ("Ordine", "Type", "Caption", "Path", "FolderMenu",
// "RealTime").
extern const char* const kThemeKeptColumns[6];

// Gives every row of links, in table order, the appearance of the theme's
// row of the same rank (of its last row when the theme is shorter); each
// row keeps the columns above. All rows change or none: every row's new
// values are made first, and a theme value that does not convert raises
// TableError with links exactly as before. False, with links unchanged,
// when the theme holds no rows.
bool ApplyThemeRows(TRecordTable& links, TRecordTable& theme);

// A theme's name as a menu item's caption: "&" shown as itself, and a name
// that is a lone "-" not taken for a separator line.
std::string ThemeMenuCaption(const std::string& name);

}  // namespace tov
