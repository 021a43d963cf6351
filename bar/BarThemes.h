// The bar's themes as its menu offers them: saved under a typed name, applied
// and deleted from the "Temi" sub-menu, which lists them anew each time the
// bar is shown and after each save and delete. The files and the rows of a
// theme are Themes.h's.
#pragma once
#include <functional>
#include <string>

#include "docking/AppBar.h"
#include "forms/Component.h"
#include "settings/Settings.h"
#include "tables/BinaryTableFormat.h"
#include "tables/RecordTable.h"

namespace tov {

class TSettingsStore;

class TBarThemes {
 public:
  // The window the prompt belongs to, the background a theme's panel
  // settings reset, the button table and its format, the form whose "Temi"
  // sub-menu lists the themes, the user store (whose file a theme copies),
  // the bar's settings (a theme's panel is read into them) and what the bar
  // does once a theme is in (lays itself out again); all outlive the themes.
  TBarThemes(TAppBar& window, IBarBackground& background, TRecordTable& links, TBinaryTableFormat& format,
             Component& form, TSettingsStore& store, TBarSettings& settings, std::function<void()> applied);

  // Each command reports its own failure to the user and answers false.
  // Asks for a name, saves the theme under it and lists the themes again.
  void SaveAsked();
  bool Save(const std::string& name);
  bool Apply(const std::string& name);
  void Delete(const std::string& name);
  // The "Temi" sub-menu made again from the themes saved.
  void BuildMenu();

 private:
  TAppBar& window_;
  IBarBackground& background_;
  TRecordTable& links_;
  TBinaryTableFormat& format_;
  Component& form_;
  TSettingsStore& store_;
  TBarSettings& settings_;
  std::function<void()> applied_;
};

}  // namespace tov
