// The program's entry: creates the long-lived objects in order, runs the
// message loop and tears everything down in reverse.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace tov {

class TDataModule;
class TForm;
class TBarWindow;
class TMonitorList;
class TRunningCopy;
class TSettingsStores;
struct TBarSettings;

// The program's objects from start to end, made the same way by the entry
// point and by the headless runner of the tests.
class TProgramRun {
 public:
  TProgramRun();
  ~TProgramRun();
  TProgramRun(const TProgramRun&) = delete;
  TProgramRun& operator=(const TProgramRun&) = delete;

  // Claims this copy of the program (its executable's path). When another
  // process runs it already, that bar is asked forward and the answer is
  // false, before any window or application bar exists. Otherwise makes the
  // bar's settings, the monitor list, the data module, the settings stores,
  // the bar (the main form, handed all of them) and the exception report's
  // window, in that order, and shows the bar: true.
  bool Start();
  // Frees them in reverse order, then gives the claim back.
  void Stop();

 protected:
  // Seen by the headless runner of the tests (tests/HeadlessBar.h) too.
  std::unique_ptr<TRunningCopy> copy;
  std::unique_ptr<TSettingsStores> stores;
  // Shared with the exception display, which reads the language at the
  // moment of a report and outlives the run.
  std::shared_ptr<TBarSettings> settings;
  std::unique_ptr<TMonitorList> monitors;
  std::unique_ptr<TDataModule> dc;
  std::unique_ptr<TBarWindow> bar;
  std::unique_ptr<TForm> exceptMessage;
};

// The program: the bar, or, with the switch "/crashed" (dialogs/CrashReport.h),
// the process that follows a crash. The arguments exclude the program's name.
int RunProgram(const std::vector<std::string>& arguments = {});

}  // namespace tov
