// libFuzzer target for the settings template: the input is a Settings.tpl
// file. Its attribute lists, the typed getters that fall back on its defaults
// and the backup of values it drives must answer without a crash; a section
// the template lists is found again by name and by index, and numbers read
// from it write back to text that reads as the same number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/ProgramFolders.h"
#include "fuzz/FuzzPlatform.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace {

using namespace tov;

// Bounds the work one input can ask for.
constexpr size_t kMaxSections = 6;
constexpr size_t kMaxKeys = 6;

void CheckNumbers(const std::string& text) {
  int32_t i = 0;
  if (ParseSettingInteger(text, &i)) {
    int32_t back = 0;
    if (!ParseSettingInteger(std::to_string(i), &back) || back != i) std::abort();
  }
  double d = 0;
  if (ParseSettingFloat(text, &d) && std::isfinite(d)) {
    double back = 0;
    if (!ParseSettingFloat(FormatSettingFloat(d), &back)) std::abort();
  }
}

void CheckAttributes(const std::string& list) {
  for (const std::string& item : SplitAttributeList(list)) {
    CheckNumbers(item);
    size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    CheckNumbers(item.substr(eq + 1));
    SettingTypeFromKeyword(item.substr(eq + 1));
    AttributeValue(list, item.substr(0, eq));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Platform();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckAttributes(bytes);

  const std::string folder = "C:\\Dati\\";
  Files().DeleteFile(folder + "Fuzz.ini");
  Files().DeleteFile(folder + "Settings.bkp");
  if (!Files().WriteFile(AppSubDir("Config") + "Settings.tpl", bytes)) std::abort();
  TSettingsStore config(folder, "Fuzz", "");
  if (!config.HasTemplate()) std::abort();

  const std::vector<std::string> sections = config.TemplateSections();
  size_t allKeys = 0;
  for (size_t s = 0; s < sections.size() && s < kMaxSections; ++s) {
    const std::string& section = sections[s];
    const int index = config.TemplateSectionIndex(section);
    if (index < 0 || index > static_cast<int>(s)) std::abort();
    if (config.TemplateSectionName(static_cast<int>(s)) != section) std::abort();
    const std::vector<std::string> keys = config.TemplateSectionKeys(section);
    allKeys += keys.size();
    for (size_t k = 0; k < keys.size() && k < kMaxKeys; ++k) {
      const std::string& key = keys[k];
      CheckAttributes(config.GetTemplateAttribute(section, key, "DefaultValue"));
      config.GetFieldType(section, key);
      config.GetFieldWidth(section, key);
      config.GetString(section, key, "def");
      config.GetInteger(section, key, 7);
      config.GetBool(section, key, true);
      config.GetFloat(section, key, 1.5);
      config.FieldCaption(section, key);
    }
  }
  config.SectionCaptions();
  if (sections.size() <= kMaxSections && allKeys <= kMaxKeys) {
    config.BackupValues();
    config.RestoreValues();
  }
  return 0;
}
