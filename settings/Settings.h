// The bar's own options: read from the user store into the program's one
// TBarSettings (made by the start-up and handed to the bar) at start-up and
// after every confirmed settings dialog; nothing writes them back. A default in the template takes precedence over the
// ones below.
#pragma once
#include <cstdint>
#include <string>

namespace tov {

constexpr int32_t kButtonFaceColor = int32_t(0x8000000F);

struct TBarSettings {
  // "Interfaccia"
  std::string Lingua = "Italiano";
  bool AutoStart = false;
  // "Pannello"
  bool AlwaysOnTop = false;
  bool AutoHide = false;
  bool Animate = true;
  bool ShowBevel = true;
  bool FixedBorder = true;
  bool GlassPanel = false;
  bool Borderless = false;
  bool DrawBackground = false;
  int32_t BackgroundColor = kButtonFaceColor;
  std::string BackgroundImage;
  bool CustomMargins = false;
  int32_t MarginWidth = 2;
  int32_t MarginHeight = 2;
  // "Pulsanti"
  bool HideLinkExt = true;
  // "Generale": the source folder is watched, and the bar follows it.
  bool WatchFolder = true;
  // The bar's own hotkey ("CA+T"; empty: none), and whether a click on a
  // running program's button brings its window forward.
  std::string BarHotkey;
  bool LaunchOrSwitch = true;
  // A small mark under the buttons whose program has a window open.
  bool ShowRunning = false;
};

// Keys of the same store that other parts of the bar read themselves.
constexpr const char* kPanelSection = "Pannello";
constexpr const char* kFolderSourceSection = "Generale";
constexpr const char* kFolderSourceKey = "FolderSource";
constexpr const char* kFolderSourceDefault = "[Bogus]";
constexpr const char* kUserDirSection = "Avvio";
constexpr const char* kUserDirKey = "UserDir";
constexpr const char* kUserDirDefault = "<UserAppData>";

// What ReadBarSettings resets on the bar window's background.
class IBarBackground {
 public:
  virtual ~IBarBackground() = default;
  virtual void DropBackgroundBitmap() = 0;  // free the brush's bitmap, if any
  virtual void SetBackgroundColor(int32_t color) = 0;
};

class TSettingsStore;

// Reads every value of the bar's settings from the user store. Then, on the bar's
// background (when given): without DrawBackground or without an image the
// bitmap goes; without DrawBackground the colour becomes the button face.
void ReadBarSettings(const TSettingsStore& store, TBarSettings& settings, IBarBackground* bar = nullptr);

// Reads the keys of section "Pannello" from a copy of the user's settings
// file (a theme's) into the bar's settings, each with its default when the file or
// the key is missing, and resets the background as ReadBarSettings does.
// Nothing is written to the store.
void ReadThemePanelSettings(const std::string& iniPath, TBarSettings& settings, IBarBackground* bar = nullptr);

}  // namespace tov
