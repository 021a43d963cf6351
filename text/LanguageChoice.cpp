#include "text/LanguageChoice.h"

#include <string_view>

#include "base/Casefold.h"

namespace tov {

namespace {

// ISO 639-1 codes and the names the language files carry: each language by
// its own name, as the language menu lists them to people who read it.
struct LanguageName {
  const char* code;
  const char* name;
};
constexpr LanguageName kNames[] = {
    {"ar", "\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9"},                  // العربية
    {"bg", "\xD0\x91\xD1\x8A\xD0\xBB\xD0\xB3\xD0\xB0\xD1\x80\xD1\x81\xD0\xBA\xD0\xB8"},  // Български
    {"ca", "Catal\xC3\xA0"},                                                             // Català
    {"cs",
     "\xC4\x8C"
     "e\xC5\xA1tina"},  // Čeština
    {"da", "Dansk"},
    {"de", "Deutsch"},
    {"el", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC"},  // Ελληνικά
    {"en", "English"},
    {"es", "Espa\xC3\xB1ol"},  // Español
    {"et", "Eesti"},
    {"fi", "Suomi"},
    {"fr",
     "Fran\xC3\xA7"
     "ais"},                                             // Français
    {"he", "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA"},  // עברית
    {"hr", "Hrvatski"},
    {"hu", "Magyar"},
    {"it", "Italiano"},
    {"ja", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},  // 日本語
    {"ko", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},  // 한국어
    {"lt", "Lietuvi\xC5\xB3"},                       // Lietuvių
    {"lv", "Latvie\xC5\xA1u"},                       // Latviešu
    {"nb", "Norsk"},
    {"nl", "Nederlands"},
    {"no", "Norsk"},
    {"pl", "Polski"},
    {"pt", "Portugu\xC3\xAAs"},                                          // Português
    {"ro", "Rom\xC3\xA2n\xC4\x83"},                                      // Română
    {"ru", "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9"},  // Русский
    {"sk", "Sloven\xC4\x8Dina"},                                         // Slovenčina
    {"sl", "Sloven\xC5\xA1\xC4\x8Dina"},                                 // Slovenščina
    {"sr", "Srpski"},
    {"sv", "Svenska"},
    {"th", "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2"},  // ไทย
    {"tr",
     "T\xC3\xBCrk\xC3\xA7"
     "e"},                                                                                       // Türkçe
    {"uk", "\xD0\xA3\xD0\xBA\xD1\x80\xD0\xB0\xD1\x97\xD0\xBD\xD1\x81\xD1\x8C\xD0\xBA\xD0\xB0"},  // Українська
    {"vi", "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t"},                                                  // Tiếng Việt
    {"zh", "\xE4\xB8\xAD\xE6\x96\x87"},                                                          // 中文
};

const std::string* Find(const std::vector<std::string>& available, const std::string& name) {
  for (const std::string& a : available)
    if (SameTextAscii(a, name)) return &a;
  return nullptr;
}

}  // namespace

std::string LanguageFileNameFor(const std::string& tag) {
  // The primary subtag: up to the first '-' or '_' ("pt_BR" from a POSIX locale too).
  const std::string_view primary = std::string_view(tag).substr(0, tag.find_first_of("-_"));
  for (const LanguageName& n : kNames)
    if (SameTextAscii(primary, n.code)) return n.name;
  return std::string();
}

std::string ChooseStartLanguage(const std::string& uiTag, const std::vector<std::string>& available) {
  const std::string own = LanguageFileNameFor(uiTag);
  if (!own.empty())
    if (const std::string* found = Find(available, own)) return *found;
  if (const std::string* english = Find(available, "English")) return *english;
  return "Italiano";
}

}  // namespace tov
