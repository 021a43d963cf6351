// Files and folders dropped on the bar: each becomes a shortcut in the
// source folder and a button at the end of the bar, in drop order.
#include "bar/BarWindow.h"
#include "controls/ButtonTable.h"
#include "files/FileHelpers.h"
#include "formats/ShortcutFiles.h"
#include "tables/DataModule.h"

namespace tov {

namespace {

// Releases a drop handle however the drop ends.
class DropHandle {
 public:
  explicit DropHandle(uintptr_t drop) : drop_(drop) {}
  ~DropHandle() { Shell().DragFinish(drop_); }
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;

  uint32_t Count() const { return Shell().QueryDroppedFile(drop_, kDropCount, nullptr, 0); }
  // The whole path of item i, however long; "" when the shell cannot give it.
  std::string Path(uint32_t i) const {
    const uint32_t length = Shell().QueryDroppedFile(drop_, i, nullptr, 0);
    if (length == 0) return std::string();
    std::string path(size_t(length) + 1, '\0');
    if (Shell().QueryDroppedFile(drop_, i, path.data(), length + 1) != length) return std::string();
    path.resize(length);
    return path;
  }

 private:
  uintptr_t drop_;
};

}  // namespace

void TBarWindow::WmDropFiles(uintptr_t drop) {
  DropHandle items(drop);
  if (!Files().DirExists(source_.Path())) return;
  const std::string folder = source_.Path();
  TRecordTable& links = data_.TblLinks;
  const uint32_t n = items.Count();
  for (uint32_t i = 0; i < n; ++i) {
    const std::string path = items.Path(i);
    const std::string name = FileNamePart(path);
    // Nothing to name a shortcut after (a drive's root, or a path the shell
    // could not give whole): no shortcut and no button.
    if (name.empty()) continue;
    CreateShortcut(path, name, folder);
    AddButtonRow(links, links.GetRecordCount(), FileNameWithoutExt(name), JoinPath(folder, name + ".lnk"));
    RebuildBar();
  }
}

}  // namespace tov
