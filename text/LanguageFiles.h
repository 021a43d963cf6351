// Language files: "Langs" beside the executable, one file per language named
// after it ("English.lng"). Lines are "name=value"; "*key=text" lines are
// message entries, "Form.Component.Property=text" lines translate forms.
// "English.lng" is the fallback for messages.
#pragma once
#include <string>
#include <vector>

#include "forms/Component.h"

namespace tov {

// AppSubDir("Langs") + language + ".lng".
std::string LanguageFilePath(const std::string& language);

// Replaces the message table by the message entries of the file, or of
// English.lng when the file does not exist. Without either, the table stays
// empty (every text keeps its default) and an error box says so.
void LoadMessageTable(const std::string& path);

// Translates the form from the file; false, with an error box, when the file
// is missing (every text stays as it was).
bool TranslateFromFile(Component& form, const std::string& path);

// Loads the language's messages and translates the form from the same file.
void ApplyLanguage(Component& form, const std::string& language);

// The names of the language files in "Langs", without extension, in the
// order of the folder listing; the folder is created when missing.
std::vector<std::string> LanguageNames();

// Writes LanguageNames() into folder + "Lingua.lst", one name per line,
// each ended by CR LF; false when the file cannot be written.
bool WriteLanguageList(const std::string& folder);

// Appends one item per language file to the menu item, captioned with the
// language name and owned by the menu item, each with the click handler.
void AddLanguageMenuItems(Component& menuItem, const std::string& handler, EventFn fn = nullptr);

}  // namespace tov
