#include "settings/Settings.h"

#include "base/Casefold.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

namespace tov {

namespace {

// The keys of section "Pannello", read through a reader of one source.
template <class Reader>
void ReadPanelKeys(const Reader& r, TBarSettings& b) {
  const TBarSettings d;  // the defaults
  b.AlwaysOnTop = r.Bool("AlwaysOnTop", d.AlwaysOnTop);
  b.AutoHide = r.Bool("AutoHide", d.AutoHide);
  b.Animate = r.Bool("Animate", d.Animate);
  b.ShowBevel = r.Bool("ShowBevel", d.ShowBevel);
  b.FixedBorder = r.Bool("FixedBorder", d.FixedBorder);
  b.GlassPanel = r.Bool("GlassPanel", d.GlassPanel);
  b.Borderless = r.Bool("Borderless", d.Borderless);
  b.DrawBackground = r.Bool("DrawBackground", d.DrawBackground);
  b.BackgroundColor = r.Integer("BackgroundColor", d.BackgroundColor);
  b.BackgroundImage = r.Text("BackgroundImage", d.BackgroundImage);
  b.CustomMargins = r.Bool("CustomMargins", d.CustomMargins);
  b.MarginWidth = r.Integer("MarginWidth", d.MarginWidth);
  b.MarginHeight = r.Integer("MarginHeight", d.MarginHeight);
}

// The user store, with its template's defaults.
struct StoreReader {
  const TSettingsStore& s;
  bool Bool(const char* key, bool def) const { return s.GetBool(kPanelSection, key, def); }
  int32_t Integer(const char* key, int32_t def) const { return s.GetInteger(kPanelSection, key, def); }
  std::string Text(const char* key, const std::string& def) const { return s.GetString(kPanelSection, key, def); }
};

// A copy of the user's settings file, in the store's format, without a template.
struct FileReader {
  TIniFile ini;
  std::string Raw(const char* key) const { return ini.ReadString(kPanelSection, key, ""); }
  bool Bool(const char* key, bool def) const {
    const std::string v = Raw(key);
    return v.empty() ? def : UpperCaseText(v) == "TRUE";
  }
  int32_t Integer(const char* key, int32_t def) const {
    int32_t v = 0;
    return ParseSettingInteger(Raw(key), &v) && v != AbsentInteger ? v : def;
  }
  std::string Text(const char* key, const std::string& def) const {
    const std::string v = Raw(key);
    return v.empty() ? def : v;
  }
};

// Without DrawBackground or without an image the bitmap goes; without
// DrawBackground the colour becomes the button face.
void ResetBackground(const TBarSettings& b, IBarBackground* bar) {
  if (!bar) return;
  if (!b.DrawBackground || b.BackgroundImage.empty()) bar->DropBackgroundBitmap();
  if (!b.DrawBackground) bar->SetBackgroundColor(kButtonFaceColor);
}

}  // namespace

void ReadBarSettings(const TSettingsStore& s, TBarSettings& b, IBarBackground* bar) {
  const TBarSettings d;  // the defaults
  b.Lingua = s.GetString("Interfaccia", "Lingua", d.Lingua);
  b.AutoStart = s.GetBool("Interfaccia", "AutoStart", d.AutoStart);
  ReadPanelKeys(StoreReader{s}, b);
  b.HideLinkExt = s.GetInteger("Pulsanti", "HideLinkExt", 1) != 0;
  b.WatchFolder = s.GetBool(kFolderSourceSection, "WatchFolder", d.WatchFolder);
  b.BarHotkey = s.GetString("Pulsanti", "BarHotkey", d.BarHotkey);
  b.LaunchOrSwitch = s.GetBool("Pulsanti", "LaunchOrSwitch", d.LaunchOrSwitch);
  b.ShowRunning = s.GetBool("Pulsanti", "ShowRunning", d.ShowRunning);
  ResetBackground(b, bar);
}

void ReadThemePanelSettings(const std::string& iniPath, TBarSettings& b, IBarBackground* bar) {
  ReadPanelKeys(FileReader{TIniFile(iniPath)}, b);
  ResetBackground(b, bar);
}

}  // namespace tov
