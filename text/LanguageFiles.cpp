#include "text/LanguageFiles.h"

#include "base/Strings.h"
#include "base/Utf8Text.h"
#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/Platform.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "text/TranslateComponents.h"

namespace tov {

namespace {

void LanguageFileMissing() { MessageBoxError("Language file not found.\nUsing default language.", "Error!"); }

// A language file is UTF-8, with or without a byte-order mark, or one of an
// earlier release in the ANSI code page (Windows-1252), read as that.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
  std::string bytes;
  if (!Files().FileExists(path) || !Files().ReadFile(path, &bytes)) return false;
  *lines = TextLines(StoredTextToUtf8(bytes));
  return true;
}

}  // namespace

std::string LanguageFilePath(const std::string& language) { return AppSubDir("Langs") + language + ".lng"; }

void LoadMessageTable(const std::string& path) {
  SetMessageTable({});
  // A file that is there but cannot be read counts as missing.
  std::vector<std::string> lines;
  if (!ReadLines(path, &lines) && !ReadLines(AppSubDir("Langs") + "English.lng", &lines)) {
    LanguageFileMissing();
    return;
  }
  std::vector<std::string> entries;
  for (const std::string& line : lines)
    if (!line.empty() && line[0] == '*') entries.push_back(line.substr(1));
  SetMessageTable(std::move(entries));
}

bool TranslateFromFile(Component& form, const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadLines(path, &lines)) {
    LanguageFileMissing();
    return false;
  }
  TranslateComponents(form, lines);
  return true;
}

void ApplyLanguage(Component& form, const std::string& language) {
  std::string path = LanguageFilePath(language);
  LoadMessageTable(path);
  TranslateFromFile(form, path);
}

std::vector<std::string> LanguageNames() {
  std::vector<std::string> names;
  for (const FindEntry& e : Files().FindFiles(AppSubDir("Langs") + "*.lng"))
    if (!e.IsDirectory()) names.push_back(FileNameWithoutExt(e.name));
  return names;
}

bool WriteLanguageList(const std::string& folder) {
  std::string text;
  for (const std::string& name : LanguageNames())
    text += name + "\r\n";
  return WriteFileSafely(Files(), folder + "Lingua.lst", text);
}

void AddLanguageMenuItems(Component& menuItem, const std::string& handler, EventFn fn) {
  for (const std::string& language : LanguageNames()) {
    auto item = MakeComponent(ComponentKind::MenuItem, "", language);
    item->SetOwner(&menuItem);
    item->Bind("OnClick", handler, fn);
    menuItem.Add(std::move(item));
  }
}

}  // namespace tov
