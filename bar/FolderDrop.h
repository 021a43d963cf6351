// A button dragged onto a folder target (a folder-menu button, or any button
// whose target is a folder): a small menu offers to move or copy the
// button's own file there, as the file manager does with a file dropped on a
// folder. The file is the button's shortcut (its row's "Path"), never the
// program or document it leads to: moving a program out of its folder would
// break it, and a shortcut is what the user sees on the bar. A move out of
// the source folder takes the button off the bar (as "Elimina" does while
// keeping the file); a copy leaves the bar as it is.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "controls/ButtonHost.h"
#include "forms/WindowForm.h"
#include "tables/RecordTable.h"

namespace tov {

// What the drop menu answers.
enum class TFolderDropChoice { Move, Copy, Cancel };

// The folder a button's target is: its path when that is a folder, the
// folder a shortcut leads to; empty for anything else (and separators).
std::string TargetFolderOf(WindowId owner, const std::string& path);

class TFolderDrop {
 public:
  // sourceFolder: the bar's source folder as it is now; rebuild: lays the
  // bar out again and saves its list.
  TFolderDrop(TForm& window, TButtonHost& buttons, TRecordTable& links, std::function<std::string()> sourceFolder,
              std::function<void()> rebuild)
      : window_(window),
        buttons_(buttons),
        links_(links),
        sourceFolder_(std::move(sourceFolder)),
        rebuild_(std::move(rebuild)) {}

  // For each position (by "Ordine"), the folder its target is.
  std::vector<std::string> Folders();
  // The button of order from let go onto a target in folder at a point of
  // the window: asks and does what is chosen.
  void Drop(int from, const std::string& folder, Point at);
  // The menu itself: "Sposta qui", "Copia qui", "Annulla".
  TFolderDropChoice Ask(Point screen);
  // Moves or copies the file of the button of order from into folder; the
  // bar follows, a failure is told.
  void Transfer(int from, const std::string& folder, bool move);

 private:
  TForm& window_;
  TButtonHost& buttons_;
  TRecordTable& links_;
  std::function<std::string()> sourceFolder_;
  std::function<void()> rebuild_;
};

}  // namespace tov
