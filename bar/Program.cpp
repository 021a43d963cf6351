#include "bar/Program.h"

#include <exception>
#include <memory>

#include "bar/ToviraMain.h"
#include "controls/ShellImages.h"
#include "settings/Supportsystem.h"
#include "tables/Datamodule.h"
#include "ui/Product.h"
#include "ui/Supportmsg.h"

namespace tov {

int RunProgram() {
  // Shortcut targets are read through the shell's link object on this thread.
  const int32_t ole = Sys().links ? ShellLinks().OleInitialize() : E_FAIL_RESULT;
  try {
    // The shell's system image lists, shared by every button icon.
    SetSharedImageLists(SystemImageList("LARGE"), SystemImageList("SMALL"));
    SetAppTitle(kProductName);
    // An exception that escapes an event is shown, and the bar goes on.
    InstallExceptionDisplay();
    DC = new TDC();
    std::unique_ptr<TDC> dc(DC);
    {
      TFormToviraMain bar;
      bar.SetMainForm(true);
      // The exception report's window: created now, shown only by a report.
      TForm exceptMessage;
      exceptMessage.SetCaption("FormExceptMessage");
      bar.Show();
      Windows().RunMessageLoop();
    }
    dc.reset();
    DC = nullptr;
  } catch (const std::exception& e) {
    // The framework's standard exception display.
    Dialogs().MessageBox(e.what(), kProductName, MB_OK | MB_ICONERROR);
  }
  if (ole == S_OK_RESULT) ShellLinks().OleUninitialize();
  return 0;
}

}  // namespace tov
