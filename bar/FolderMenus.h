// Launching: a click opens the button's target through the shell; a
// folder-menu button pops up the entries of its folder instead, and each
// entry opens the same way. The folder menus belong to the bar window, which
// builds them again after every layout.
#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bar/FolderMenuLevels.h"
#include "controls/ButtonHost.h"
#include "controls/ButtonStyle.h"
#include "docking/AppBar.h"
#include "forms/Component.h"
#include "settings/Settings.h"
#include "tables/RecordTable.h"

namespace tov {

// Opens the target of the button's row (found by its "Ordine" in the tag).
void OpenButtonTarget(TRecordTable& links, WindowId owner, const TLbSpeedButton& button);
// Opens a button's or a menu entry's target through the shell; a target that
// does not open is told, naming the entry (name) and the system's reason.
bool OpenTarget(WindowId owner, const std::string& path, const std::string& name);

class TFolderMenus {
 public:
  // The window the menus pop up on, the buttons laid out on it, the table
  // their rows are in and the bar's settings; all outlive the menus.
  TFolderMenus(TAppBar& window, TButtonHost& buttons, TRecordTable& links, const TBarSettings& settings);

  // The menu of each button position whose row asks for one, from its
  // folder as it is now; those buttons pop their menu up when clicked.
  // positions: how many buttons and separators the bar holds.
  void Build(size_t positions);
  // No menus: as before the bar is first laid out.
  void Clear() {
    menus_.reset();
    pending_.clear();
  }

  // A level of many entries is made in steps: this many at once (more than
  // the tallest screen shows), then batches of kLevelBatch while it shows.
  static constexpr size_t kFirstScreenful = 100;
  static constexpr size_t kLevelBatch = 400;

  bool Built() const { return menus_.has_value(); }
  // The number of positions, and the menu at one (null for none).
  size_t Count() const { return menus_ ? menus_->size() : 0; }
  std::shared_ptr<Component> At(size_t position) const {
    return menus_ && position < menus_->size() ? (*menus_)[position] : nullptr;
  }

  // Pops up the button's menu below or beside it (a real-time one listed
  // anew); before any menu was built, opens the button's target.
  void Popup(TLbSpeedButton& button);

 private:
  std::unique_ptr<Component> BuildMenu(TLbSpeedButton& button, const TCustomButtonStyle& style);
  std::string ResolveLinkTarget(const std::string& path);
  Point MenuOffset(const TLbSpeedButton& button) const;
  void ItemClick(Component& item);
  // Sub-folders cascade: the item's sub-menu is made when first opened
  // (FolderMenuLevels.h); chain: the real paths of the folders above it.
  void MakeCascading(Component& item, const std::string& folder, const std::vector<std::string>& chain);
  void Expand(Component& item);
  // The next batch of a level made in steps.
  void ExpandMore(Component& item);
  // The entries of a level still to add, by its item's name.
  // The folder's listing stays open between batches (read only as far as
  // the entries made); it is let go when the menu closes.
  struct TPendingLevel {
    std::unique_ptr<TMenuLevelListing> listing;
    size_t made = 0;
    std::vector<std::string> chain;
    std::map<std::string, int> iconOfKind;
  };
  // Makes up to count more entries; false once the level is whole.
  bool AddLevelEntries(Component& item, TPendingLevel& level, size_t count);
  // After a menu closed: the levels left unfinished let go of their folders
  // and are listed anew when next opened.
  void CloseLevels(Component& menu);
  static void PopupFolderMeasureItem(Component& item, int& height);

  TAppBar& window_;
  TButtonHost& buttons_;
  TRecordTable& links_;
  const TBarSettings& settings_;
  std::optional<std::vector<std::shared_ptr<Component>>> menus_;
  std::map<std::string, TPendingLevel> pending_;
};

}  // namespace tov
