// The language of a first start: the one of the system's user interface when
// a language file for it ships, else English; an Italian system keeps
// Italian, the program's own language.
#pragma once
#include <string>
#include <vector>

namespace tov {

// The file name (without ".lng") a language file for this BCP 47 tag
// ("de-DE", "pt-BR", "zh-Hant-TW") would carry: the language's own name
// ("Deutsch", "Português", "中文"); empty for a language without one.
std::string LanguageFileNameFor(const std::string& tag);

// The language to start in, among the available language files: the user
// interface's own, else "English", else the program's "Italiano". Names
// compare without regard to ASCII letter case, as file names do.
std::string ChooseStartLanguage(const std::string& uiTag, const std::vector<std::string>& available);

}  // namespace tov
