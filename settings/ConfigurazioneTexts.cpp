// The translated captions and hints of the template's sections and keys.
#include "settings/Configurazione.h"
#include "ui/Supportlanguage.h"

namespace tov {

std::vector<std::string> TConfigurazione::SectionCaptions() const {
  std::vector<std::string> captions;
  for (const std::string& section : TemplateSections())
    captions.push_back(LangText("Config." + section, "Config." + section));
  return captions;
}

std::string TConfigurazione::FieldCaption(const std::string& section, const std::string& key) const {
  return LangText("Config." + section + "." + key, section + "." + key);
}

std::string TConfigurazione::FieldHint(const std::string& section, const std::string& key) const {
  return LangText("Config." + section + "." + key + ".Hint", "");
}

std::string TConfigurazione::ConfigText(const std::string& section, const std::string& name,
                                        const std::string& def) const {
  return LangText("Config." + section + "." + name, def);
}

}  // namespace tov
