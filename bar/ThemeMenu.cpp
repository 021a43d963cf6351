// The bar's themes: saved from the bar's menu under a typed name, applied and
// deleted from the "Temi" sub-menu, which lists them anew each time the bar
// is shown and after each save and delete.
#include <exception>

#include "bar/Themes.h"
#include "bar/ToviraMain.h"
#include "base/Strings.h"
#include "dialogs/StandardPrompt.h"
#include "files/FileHelpers.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "tables/DamagedTableFile.h"
#include "tables/DataModule.h"
#include "tables/TableFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

namespace {

// The longest path the program's files may have (MAX_PATH less its zero).
constexpr size_t kLongestPath = 259;

}  // namespace

void TFormToviraMain::PopSalvaTemaClick() {
  const std::string name = AskText(kPromptSalvaTema, {}, Handle());
  if (name.empty()) return;
  SaveTheme(name);
  BuildThemesMenu();
}

bool TFormToviraMain::SaveTheme(const std::string& name) {
  const std::string folder = UserSubDir(kThemesSubDir);
  const std::string table = TableFileName(folder, name, kThemeExt);
  const std::string copy = TableFileName(folder, name, kThemeIniExt);
  if (!IsUsableFileName(name) || copy.size() > kLongestPath) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeName",
                                     "\"%s\" non pu\xF2 essere il nome di un tema: il nome diventa quello di un "
                                     "file, e non pu\xF2 contenere \\ / : * ? \" < > |, finire con un punto o uno "
                                     "spazio, essere un nome riservato come CON o NUL, n\xE9 essere troppo lungo."),
                            {name}));
    return false;
  }
  // A theme file that could not be read when it was last applied is not
  // written over: the user was told then, and may still want it back.
  if (IsGuardedTableFile(table)) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeFileUnread",
                                     "Il tema \"%s\" non \xE8 stato salvato: il file \"%s\" non \xE8 stato letto "
                                     "e non viene sovrascritto finch\xE9 non lo sar\xE0."),
                            {name, table}));
    return false;
  }
  try {
    SaveTableFile(DC->TblLinks, folder, name, kThemeExt, true, DC->SaveFormat);
  } catch (const std::exception& e) {
    ErrorMessage(
        FormatText(LangText("MsgErr.ThemeNotSaved", "Il tema \"%s\" non \xE8 stato salvato:\n%s"), {name, e.what()}));
    return false;
  }
  // The panel settings as they are now. With no settings file yet, every
  // value is its default, and so is every value read from a missing copy;
  // an older copy of a replaced theme must not stay behind.
  const std::string settings = GetUserSettings().IniFileName();
  const bool copied = Files().FileExists(settings) ? Files().CopyFile(settings, copy, false)
                                                   : !Files().FileExists(copy) || Files().DeleteFile(copy);
  if (!copied) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeSettingsNotCopied",
                                     "Il tema \"%s\" \xE8 stato salvato senza le impostazioni del pannello: il "
                                     "file \"%s\" non pu\xF2 essere scritto. Applicandolo, il pannello prender\xE0 "
                                     "i valori predefiniti."),
                            {name, copy}));
    return false;
  }
  return true;
}

bool TFormToviraMain::ApplyTheme(const std::string& name) {
  const std::string folder = UserSubDir(kThemesSubDir);
  if (!Files().FileExists(TableFileName(folder, name, kThemeExt))) {
    ErrorMessage(FormatText(LangText("MsgErr.ThemeMissing", "Il tema \"%s\" non esiste pi\xF9."), {name}));
    BuildThemesMenu();
    return false;
  }
  TRecordTable theme;
  // A file that cannot be read is reported, and a damaged one set aside.
  if (!LoadTableFile(theme, folder, name, "Ordine", kThemeExt, DC->SaveFormat)) {
    BuildThemesMenu();
    return false;
  }
  if (!ApplyThemeRows(DC->TblLinks, theme)) {
    MessageBoxInfo(
        FormatText(LangText("Messages.ThemeEmpty", "Il tema \"%s\" non contiene pulsanti: la barra resta com'\xE8."),
                   {name}),
        AppTitle());
    return false;
  }
  ReadThemePanelSettings(TableFileName(folder, name, kThemeIniExt), this);
  // As after the settings dialog: glass takes the fixed border off.
  TBarSettings& s = BarSettings();
  if (s.GlassPanel) s.FixedBorder = false;
  RebuildBar();
  ApplyPanelFlags();
  return true;
}

void TFormToviraMain::DeleteTheme(const std::string& name) {
  const std::string folder = UserSubDir(kThemesSubDir);
  std::string kept;
  for (const char* ext : {kThemeIniExt, kThemeExt}) {
    const std::string path = TableFileName(folder, name, ext);
    if (Files().FileExists(path) && !Files().DeleteFile(path)) kept += "\r\n" + path;
  }
  if (!kept.empty())
    ErrorMessage(LangText("MsgErr.ThemeFilesNotDeleted", "Questi file del tema non sono stati eliminati:") + kept);
  BuildThemesMenu();
}

void TFormToviraMain::BuildThemesMenu() {
  Component& themes = form_->Need("PopTemi");
  themes.RemoveChildren();
  const std::vector<std::string> names = ThemeNames(UserSubDir(kThemesSubDir));
  for (size_t i = 0; i < names.size(); ++i)
    themes.Add(MakeComponent(ComponentKind::MenuItem, "PopTheme_" + std::to_string(i), names[i]))
        .Bind("OnClick", "PopTemiClick");
  themes.Add(MakeComponent(ComponentKind::MenuItem, "", "-"));
  Component& remove = themes.Add(MakeComponent(ComponentKind::MenuItem, "PopEliminaTemi", DeleteThemesCaption()));
  for (size_t i = 0; i < names.size(); ++i)
    remove.Add(MakeComponent(ComponentKind::MenuItem, "PopDelTheme_" + std::to_string(i), names[i]))
        .Bind("OnClick", "PopEliminaTemaClick");
  // Nothing to delete: the item stays, greyed.
  remove.enabled = !names.empty();
}

}  // namespace tov
