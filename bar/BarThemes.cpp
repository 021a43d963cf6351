#include "bar/BarThemes.h"

#include <algorithm>
#include <exception>

#include "bar/Themes.h"
#include "base/Strings.h"
#include "base/Utf8Text.h"
#include "dialogs/StandardPrompt.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "tables/DamagedTableFile.h"
#include "tables/TableFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

namespace {

// The longest path the program's files may have (MAX_PATH less its zero).
constexpr size_t kLongestPath = 259;

// A save writes both files under these names beside them first, and moves
// the panel copy it replaces aside until both are in place.
const char* const kNewSuffix = ".tmp";
const char* const kOldSuffix = ".old";

// The theme's files, and those a save makes for a while.
struct ThemeFiles {
  explicit ThemeFiles(const std::string& name)
      : folder(UserSubDir(kThemesSubDir)),
        table(TableFileName(folder, name, kThemeExt)),
        copy(TableFileName(folder, name, kThemeIniExt)),
        newTable(table + kNewSuffix),
        newCopy(copy + kNewSuffix),
        oldCopy(copy + kOldSuffix) {}
  // The longest name of them all.
  // In the system's units (UTF-16), as its limit counts them.
  size_t LongestPath() const {
    size_t longest = 0;
    for (const std::string* path : {&table, &copy, &newTable, &newCopy, &oldCopy})
      longest = std::max(longest, Utf8ToUtf16(*path).size());
    return longest;
  }
  std::string folder, table, copy, newTable, newCopy, oldCopy;
};

// An item named after a theme: the caption shows the name as it is, and the
// name itself goes with the item for its handler.
void ThemeItem(Component& menu, const std::string& itemName, const std::string& theme, const char* handler) {
  Component& item = menu.Add(MakeComponent(ComponentKind::MenuItem, itemName, ThemeMenuCaption(theme)));
  item.properties[kThemeNameProperty] = theme;
  item.Bind("OnClick", handler);
}

void DeleteIfThere(const std::string& path) {
  if (Files().FileExists(path)) Files().DeleteFile(path);
}

}  // namespace

TBarThemes::TBarThemes(TAppBar& window, IBarBackground& background, TRecordTable& links, TBinaryTableFormat& format,
                       Component& form, TSettingsStore& store, TBarSettings& settings, std::function<void()> applied)
    : window_(window),
      background_(background),
      links_(links),
      format_(format),
      form_(form),
      store_(store),
      settings_(settings),
      applied_(std::move(applied)) {}

void TBarThemes::SaveAsked() {
  const std::string name = AskText(kPromptSalvaTema, {}, window_.Handle(), settings_.Lingua);
  if (name.empty()) return;
  Save(name);
  BuildMenu();
}

bool TBarThemes::Save(const std::string& name) {
  const ThemeFiles f(name);
  if (!IsUsableFileName(name) || f.LongestPath() > kLongestPath) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeName",
                                     "\"%s\" non pu\u00F2 essere il nome di un tema: il nome diventa quello di un "
                                     "file, e non pu\u00F2 contenere \\ / : * ? \" < > |, finire con un punto o uno "
                                     "spazio, essere un nome riservato come CON o NUL, n\u00E9 essere troppo lungo."),
                            {name}));
    return false;
  }
  // A theme file that could not be read when it was last applied is not
  // written over: the user was told then, and may still want it back.
  if (IsGuardedTableFile(f.table)) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeFileUnread",
                                     "Il tema \"%s\" non \u00E8 stato salvato: il file \"%s\" non \u00E8 stato letto "
                                     "e non viene sovrascritto finch\u00E9 non lo sar\u00E0."),
                            {name, f.table}));
    return false;
  }
  std::string table;
  try {
    links_.SaveToStreamViaFormat(table, format_);
  } catch (const std::exception& e) {
    ErrorMessage(
        FormatText(LangText("MsgErr.ThemeNotSaved", "Il tema \"%s\" non \u00E8 stato salvato:\n%s"), {name, e.what()}));
    return false;
  }
  // The panel settings as they are now. With no settings file yet, every
  // value is its default, and so is every value read from a missing copy:
  // the theme then has none.
  const std::string settings = store_.IniFileName();
  const bool withCopy = Files().FileExists(settings);
  std::string copy;
  // Both files are written whole under their new names, then take the old
  // ones' places together: a failure anywhere leaves the theme saved before
  // under this name exactly as it was.
  auto fail = [&](const std::string& path) {
    DeleteIfThere(f.newTable);
    DeleteIfThere(f.newCopy);
    ErrorMessage(FormatText(LangText("MsgErr.ThemeFileNotWritten",
                                     "Il tema \"%s\" non \u00E8 stato salvato: il file \"%s\" non pu\u00F2 essere "
                                     "scritto. Un tema salvato prima con questo nome resta com'era."),
                            {name, path}));
    return false;
  };
  if (withCopy && !Files().ReadFile(settings, &copy)) return fail(f.copy);
  ForceDirectories(Files(), f.folder);
  if (!Files().WriteFile(f.newTable, table)) return fail(f.table);
  if (withCopy && !Files().WriteFile(f.newCopy, copy)) return fail(f.copy);
  const bool hadCopy = Files().FileExists(f.copy);
  if (hadCopy && !Files().MoveFile(f.copy, f.oldCopy, true)) return fail(f.copy);
  auto restore = [&] {
    if (hadCopy) Files().MoveFile(f.oldCopy, f.copy, true);
  };
  if (withCopy && !Files().MoveFile(f.newCopy, f.copy, true)) {
    restore();
    return fail(f.copy);
  }
  if (!Files().MoveFile(f.newTable, f.table, true)) {
    if (withCopy) Files().DeleteFile(f.copy);
    restore();
    return fail(f.table);
  }
  if (hadCopy) Files().DeleteFile(f.oldCopy);
  return true;
}

bool TBarThemes::Apply(const std::string& name) {
  const std::string folder = UserSubDir(kThemesSubDir);
  if (!Files().FileExists(TableFileName(folder, name, kThemeExt))) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeMissing", "Il tema \"%s\" non esiste pi\u00F9."), {name}));
    BuildMenu();
    return false;
  }
  TRecordTable theme;
  // A file that cannot be read is reported, and a damaged one set aside.
  if (!LoadTableFile(theme, folder, name, "Ordine", kThemeExt, format_)) {
    BuildMenu();
    return false;
  }
  bool applied = false;
  try {
    applied = ApplyThemeRows(links_, theme);
  } catch (const std::exception& e) {
    // No row has changed.
    ErrorMessage(FormatText(
        LangText("MsgErr.ThemeNotApplied", "Il tema \"%s\" non \u00E8 stato applicato: la barra resta com'\u00E8.\n%s"),
        {name, e.what()}));
    return false;
  }
  if (!applied) {
    MessageBoxInfo(
        FormatText(LangText("Messages.ThemeEmpty", "Il tema \"%s\" non contiene pulsanti: la barra resta com'\u00E8."),
                   {name}),
        AppTitle());
    return false;
  }
  ReadThemePanelSettings(TableFileName(folder, name, kThemeIniExt), settings_, &background_);
  if (applied_) applied_();
  return true;
}

void TBarThemes::Delete(const std::string& name) {
  const ThemeFiles f(name);
  // The listed file goes first: while it cannot, the theme stays whole,
  // panel settings and all.
  std::string kept;
  if (Files().FileExists(f.table) && !Files().DeleteFile(f.table)) {
    kept = "\r\n" + f.table;
  } else {
    // Gone: a new theme of this name may be saved over it.
    ReleaseTableFileGuard(f.table);
    if (Files().FileExists(f.copy) && !Files().DeleteFile(f.copy)) kept = "\r\n" + f.copy;
  }
  if (!kept.empty())
    ErrorMessage(LangText("MsgErr.ThemeFilesNotDeleted", "Questi file del tema non sono stati eliminati:") + kept);
  BuildMenu();
}

void TBarThemes::BuildMenu() {
  Component& themes = form_.Need("PopTemi");
  themes.RemoveChildren();
  const std::vector<std::string> names = ThemeNames(UserSubDir(kThemesSubDir));
  for (size_t i = 0; i < names.size(); ++i)
    ThemeItem(themes, "PopTheme_" + std::to_string(i), names[i], "PopTemiClick");
  themes.Add(MakeComponent(ComponentKind::MenuItem, "", "-"));
  Component& remove = themes.Add(MakeComponent(ComponentKind::MenuItem, "PopEliminaTemi", DeleteThemesCaption()));
  for (size_t i = 0; i < names.size(); ++i)
    ThemeItem(remove, "PopDelTheme_" + std::to_string(i), names[i], "PopEliminaTemaClick");
  // Nothing to delete: the item stays, greyed.
  remove.enabled = !names.empty();
}

}  // namespace tov
