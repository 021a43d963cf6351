// The folder watch and the real paths of folders against the real system
// (run under Wine in CI): a change in the folder is posted to the window, a
// rename reported with both names, and watching ends without a post after.
#include <gtest/gtest.h>

#include "base/Casefold.h"
#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Signals.h"
#include "platform/win32/WinApi.h"

namespace tov {
namespace {

constexpr UINT kChanged = WM_APP + 26;

// Waits up to five seconds for the message, serving the signals as the
// program's message loops do; its wParam, or -1.
intptr_t WaitFor(HWND window, int steps = 100) {
  for (int i = 0; i < steps; ++i) {
    win32::ServeSignals();
    MSG m;
    while (PeekMessageA(&m, window, 0, 0, PM_REMOVE))
      if (m.message == kChanged) return intptr_t(m.wParam);
    Sleep(50);
  }
  return -1;
}

TEST(Win32FolderWatch, AChangeIsPostedAndARenameReported) {
  win32::Win32Platform wp;
  const std::string dir = UserAppDataSubDir("Win32FolderWatchTest");
  Files().DeleteFile(dir + "a.lnk");
  Files().DeleteFile(dir + "b.lnk");
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<IFolderWatch> watch = Shell().WatchFolder(dir, WindowId(window), kChanged);
    ASSERT_TRUE(watch);
    ASSERT_TRUE(Files().WriteFile(dir + "a.lnk", "x"));
    EXPECT_EQ(WaitFor(window), 0);
    ASSERT_TRUE(Files().MoveFile(dir + "a.lnk", dir + "b.lnk", false));
    EXPECT_EQ(WaitFor(window), 0);
    // The rename may come in a batch after the write's.
    std::vector<FolderRename> renames;
    for (int i = 0; i < 100 && renames.empty(); ++i) {
      renames = watch->TakeRenames();
      if (renames.empty()) WaitFor(window, 1);
    }
    ASSERT_EQ(renames.size(), 1u);
    EXPECT_EQ(renames[0].from, "a.lnk");
    EXPECT_EQ(renames[0].to, "b.lnk");
    EXPECT_TRUE(watch->TakeRenames().empty());
  }
  // Stopped: once what was posted before is taken, nothing more comes.
  MSG m;
  while (PeekMessageA(&m, window, kChanged, kChanged, PM_REMOVE)) {
  }
  Files().DeleteFile(dir + "b.lnk");
  Sleep(300);
  win32::ServeSignals();
  EXPECT_FALSE(PeekMessageA(&m, window, kChanged, kChanged, PM_REMOVE));
  EXPECT_FALSE(Shell().WatchFolder(dir + "Manca", WindowId(window), kChanged));
  DestroyWindow(window);
  // The real path of a folder is the folder itself when nothing leads elsewhere.
  EXPECT_TRUE(SameNameIgnoringCase(Files().FinalPath(dir), dir.substr(0, dir.size() - 1)) ||
              SameNameIgnoringCase(Files().FinalPath(dir), dir));
  EXPECT_EQ(Files().FinalPath(dir + "Manca"), "");
}

}  // namespace
}  // namespace tov
