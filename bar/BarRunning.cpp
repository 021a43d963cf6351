// The running mark on the bar: its timer runs only while the setting is on,
// and a tick looks at the windows only while the bar can be seen.
#include <algorithm>

#include "bar/BarWindow.h"
#include "controls/HighContrast.h"
#include "formats/ShortcutFiles.h"
#include "platform/Platform.h"
#include "tables/DataModule.h"

namespace tov {

void TBarWindow::UpdateRunningTimer() {
  if (!HandleAllocated()) return;
  if (settings_.ShowRunning) {
    Window().SetTimer(kRunningTimerId, kRunningIntervalMs);
    // The buttons may have changed: their shortcuts are read again.
    running_.Clear();
    RefreshRunningMarks();
  } else {
    Window().KillTimer(kRunningTimerId);
    if (running_.Clear()) Invalidate();
  }
}

bool TBarWindow::BarShowing() {
  if (!HandleAllocated() || !Window().IsVisible()) return false;
  // An autohidden bar out of sight keeps a sliver of a few pixels.
  const Rect r = Window().WindowRect();
  const TAppBarEdge edge = GetEdge();
  const int thickness = (edge == abeLeft || edge == abeRight) ? r.Width() : r.Height();
  return thickness > 4;
}

void TBarWindow::RefreshRunningMarks() {
  if (!settings_.ShowRunning || !BarShowing()) return;
  TRecordTable& links = data_.TblLinks;
  std::vector<std::string> programs;
  programs.reserve(ButtonCount());
  const auto resolve = [this](const std::string& path) { return ReadShortcutTarget(Handle(), path); };
  for (size_t i = 0; i < ButtonCount(); ++i) {
    const TLbSpeedButton& b = Button(i);
    std::string program;
    if (b.tag >= 0 && links.Locate("Ordine", std::to_string(b.tag)))
      program = running_.ProgramOf(links.FieldByName("Path").AsString(), resolve);
    programs.push_back(std::move(program));
  }
  if (running_.Update(programs, Windows().TopLevelWindows())) Invalidate();
}

void TBarWindow::PaintRunningMarks(ICanvas& canvas) {
  if (!settings_.ShowRunning) return;
  const int thickness = std::max(BarDpi().Scale(2), 2);
  for (size_t i = 0; i < ButtonCount(); ++i) {
    const TLbSpeedButton& b = Button(i);
    if (!running_.Running(i) || !b.Visible()) continue;
    canvas.FillRect(RunningMarkRect(b.BoundsRect(), thickness), ColorToRGB(clHighlight));
  }
}

}  // namespace tov
