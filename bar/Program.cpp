#include "bar/Program.h"

#include <exception>
#include <memory>

#include "bar/BarWindow.h"
#include "bar/RunningCopy.h"
#include "base/Product.h"
#include "dialogs/CrashReport.h"
#include "dialogs/ErrorReport.h"
#include "docking/MonitorList.h"
#include "files/ProgramFolders.h"
#include "formats/ShortcutFiles.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "text/MessageBoxes.h"

namespace tov {

TProgramRun::TProgramRun() = default;
TProgramRun::~TProgramRun() { Stop(); }

bool TProgramRun::Start() {
  copy = std::make_unique<TRunningCopy>(Files().ExePath());
  if (copy->RunsElsewhere()) {
    copy->WakeRunningBar();
    copy.reset();
    return false;
  }
  // An exception that escapes an event is shown, and the bar goes on; a
  // report is shown in the language the bar has at that moment.
  if (!settings) settings = std::make_shared<TBarSettings>();
  InstallExceptionDisplay([held = std::weak_ptr<TBarSettings>(settings)] {
    const std::shared_ptr<TBarSettings> s = held.lock();
    return s ? s->Lingua : std::string();
  });
  // In this order: the monitor list, the tables, the settings stores, the
  // bar that uses them all (it reads its settings from the user store).
  if (!monitors) {
    auto list = std::make_unique<TMonitorList>();
    list->Load();
    monitors = std::move(list);
  }
  if (!dc) dc = std::make_unique<TDataModule>();
  if (!stores) stores = std::make_unique<TSettingsStores>();
  bar = std::make_unique<TBarWindow>(*dc, *settings, stores->User(), *monitors);
  // A session that ends takes the process without closing the bar: the
  // claim is given back once the bar has written what it holds.
  bar->SetOnSessionEnded([this] { copy.reset(); });
  // From here on a crash is recorded and told, in the bar's language (the
  // bar installs it again when its language changes).
  InstallCrashReporting(bar->BarInstanceIndex(), settings->Lingua);
  bar->SetMainForm(true);
  // The exception report's window: created now, shown only by a report.
  exceptMessage = std::make_unique<TForm>();
  exceptMessage->SetCaption("FormExceptMessage");
  bar->Show();
  return true;
}

void TProgramRun::Stop() {
  exceptMessage.reset();
  bar.reset();
  stores.reset();
  dc.reset();
  monitors.reset();
  copy.reset();
}

int RunProgram(const std::vector<std::string>& arguments) {
  // The start is noted before anything else: a crash within a minute of it
  // does not start the bar again.
  NoteProgramStart(arguments);
  // OLE for this thread, once, before anything can use the shell's objects
  // (shortcut targets, the task bar's list, the imaging component); undone
  // when the program ends.
  TOleForThread ole;
  try {
    SetAppTitle(kProductName);
    AfterCrash crashed;
    if (ParseAfterCrash(arguments, &crashed)) return RunAfterCrash(crashed);
    if (!arguments.empty() && arguments[0] == kCrashedSwitch) {
      MessageBoxError(std::string("Argomenti non validi dopo ") + kCrashedSwitch + ": atteso \"" + kCrashedSwitch +
                          " PID SLOT START LINGUA [ARGOMENTI]\".",
                      kProductName);
      return 1;
    }
    TProgramRun run;
    if (run.Start()) Windows().RunMessageLoop();
  } catch (const std::exception& e) {
    // The framework's standard exception display.
    Dialogs().MessageBox(e.what(), kProductName, MB_OK | MB_ICONERROR);
  }
  return 0;
}

}  // namespace tov
