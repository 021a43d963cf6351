// The shell's folder browser, for choosing the bar's source folder: it comes
// up on the folder it was given, answers the folder the user confirms, and
// nothing when the user cancels.
#include <gtest/gtest.h>

#include "tests/win32/Display.h"

#include <exception>

#include "forms/WindowForm.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "tests/win32/SystemProfile.h"

namespace tov {
namespace {

int pressWith = IDOK;  // the button the timer presses in the browser
bool browserSeen = false;

// Presses a button of the browser once it is up.
void CALLBACK PressInBrowser(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA("#32770", nullptr);
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, id);
  browserSeen = true;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(pressWith, BN_CLICKED), LPARAM(GetDlgItem(dialog, pressWith)));
}

std::string Browse(HWND owner, const std::string& initial, int press, bool* answered) {
  pressWith = press;
  browserSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, PressInBrowser);
  std::string chosen;
  *answered = Dialogs().BrowseForFolder(WindowId(owner), initial, &chosen);
  KillTimer(nullptr, timer);
  return chosen;
}

TEST(Win32FolderBrowser, ComesUpOnTheGivenFolderAndAnswersWhatIsConfirmed) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  TForm owner;
  owner.Window();
  owner.Show();
  // Under the user's profile, where the bar keeps its links folder.
  const std::string folder = testing::MakeTempFolder("tovira-browse");
  CreateDirectoryA((folder + "Collegamenti").c_str(), nullptr);
  const std::string links = folder + "Collegamenti";

  bool answered = false;
  EXPECT_EQ(Browse(HWND(owner.Handle()), links + "\\", IDOK, &answered), links);
  EXPECT_TRUE(browserSeen);
  EXPECT_TRUE(answered);
  // The owner is usable again once the browser has gone.
  EXPECT_TRUE(IsWindowEnabled(HWND(owner.Handle())));

  Browse(HWND(owner.Handle()), links, IDCANCEL, &answered);
  EXPECT_TRUE(browserSeen);
  EXPECT_FALSE(answered);
  testing::RemoveFileAndFolder("", links);
  testing::RemoveFileAndFolder("", folder);
}

}  // namespace
}  // namespace tov
