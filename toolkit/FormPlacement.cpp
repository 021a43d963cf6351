#include "base/Strings.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "toolkit/FormHelpers.h"

namespace tov {

void BindFormPlacement(const TSettingsStore& settings, Component& placement, const Component& form) {
  placement.properties["UseRegistry"] = "False";
  placement.properties["IniFileName"] = settings.IniFileName();
  placement.properties["IniSection"] = TextBefore(form.name, "_", true);
}

bool SaveFormPlacement(const Component& placement, const Component& form) {
  std::string file = placement.Property("IniFileName"), section = placement.Property("IniSection");
  if (file.empty() || section.empty()) return false;
  TIniFile ini(file);
  const Rect& b = form.bounds;
  return ini.WriteString(section, "Left", std::to_string(b.left)) &&
         ini.WriteString(section, "Top", std::to_string(b.top)) &&
         ini.WriteString(section, "Width", std::to_string(b.Width())) &&
         ini.WriteString(section, "Height", std::to_string(b.Height()));
}

bool RestoreFormPlacement(const Component& placement, Component& form) {
  std::string file = placement.Property("IniFileName"), section = placement.Property("IniSection");
  if (file.empty() || section.empty()) return false;
  TIniFile ini(file);
  int32_t v[4];
  const char* keys[4] = {"Left", "Top", "Width", "Height"};
  for (int i = 0; i < 4; ++i)
    if (!ParseSettingInteger(ini.ReadString(section, keys[i], ""), &v[i])) return false;
  if (v[2] <= 0 || v[3] <= 0) return false;
  form.bounds = BoundsRect(v[0], v[1], v[2], v[3]);
  form.Changed();
  return true;
}

}  // namespace tov
