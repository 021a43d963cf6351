#include "settings/Settings.h"

#include "settings/Sharedmodule.h"

namespace tov {

TBarSettings& BarSettings() {
  static TBarSettings settings;
  return settings;
}

void ReadBarSettings(IBarBackground* bar) {
  TConfigurazione& s = GetUserSettings();
  TBarSettings& b = BarSettings();
  const TBarSettings d;  // the defaults
  b.Lingua = s.GetString("Interfaccia", "Lingua", d.Lingua);
  b.AutoStart = s.GetBool("Interfaccia", "AutoStart", d.AutoStart);
  b.AlwaysOnTop = s.GetBool("Pannello", "AlwaysOnTop", d.AlwaysOnTop);
  b.AutoHide = s.GetBool("Pannello", "AutoHide", d.AutoHide);
  b.Animate = s.GetBool("Pannello", "Animate", d.Animate);
  b.ShowBevel = s.GetBool("Pannello", "ShowBevel", d.ShowBevel);
  b.FixedBorder = s.GetBool("Pannello", "FixedBorder", d.FixedBorder);
  b.GlassPanel = s.GetBool("Pannello", "GlassPanel", d.GlassPanel);
  b.Borderless = s.GetBool("Pannello", "Borderless", d.Borderless);
  b.DrawBackground = s.GetBool("Pannello", "DrawBackground", d.DrawBackground);
  b.BackgroundColor = s.GetInteger("Pannello", "BackgroundColor", d.BackgroundColor);
  b.BackgroundImage = s.GetString("Pannello", "BackgroundImage", d.BackgroundImage);
  b.CustomMargins = s.GetBool("Pannello", "CustomMargins", d.CustomMargins);
  b.MarginWidth = s.GetInteger("Pannello", "MarginWidth", d.MarginWidth);
  b.MarginHeight = s.GetInteger("Pannello", "MarginHeight", d.MarginHeight);
  b.HideLinkExt = s.GetInteger("Pulsanti", "HideLinkExt", 1) != 0;
  if (!bar) return;
  if (!b.DrawBackground || b.BackgroundImage.empty()) bar->DropBackgroundBitmap();
  if (!b.DrawBackground) bar->SetBackgroundColor(kButtonFaceColor);
}

void StartSettings(IBarBackground* bar) {
  InitSettings(kStoreName);
  ReadBarSettings(bar);
}

}  // namespace tov
