// The translated captions and hints of the template's sections and keys.
#include "settings/SettingsStore.h"
#include "text/Texts.h"

namespace tov {

std::vector<std::string> TSettingsStore::SectionCaptions() const {
  std::vector<std::string> captions;
  for (const std::string& section : TemplateSections())
    captions.push_back(LangText("Config." + section, "Config." + section));
  return captions;
}

std::string TSettingsStore::FieldCaption(const std::string& section, const std::string& key) const {
  return LangText("Config." + section + "." + key, section + "." + key);
}

std::string TSettingsStore::FieldHint(const std::string& section, const std::string& key) const {
  return LangText("Config." + section + "." + key + ".Hint", "");
}

std::string TSettingsStore::ConfigText(const std::string& section, const std::string& name,
                                       const std::string& def) const {
  return LangText("Config." + section + "." + name, def);
}

}  // namespace tov
