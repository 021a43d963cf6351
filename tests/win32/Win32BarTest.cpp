// The whole bar on the real Win32 API, in this process: files dropped with a
// real drop handle become shortcuts and buttons, a click on a button starts
// its program through the shell, and a folder-menu button pops up its
// folder's entries drawn with their icons.
#include <gtest/gtest.h>

#include "tests/win32/Display.h"

#include <exception>
#include <memory>

#include "bar/BarWindow.h"
#include "controls/ShellImages.h"
#include "docking/MonitorList.h"
#include "files/ProgramFolders.h"
#include "formats/ShortcutFiles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "settings/SettingsStore.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/win32/SystemProfile.h"

#include <shellapi.h>
#include <shlobj.h>

namespace tov {
namespace {

// The real file system, except that the program lives in a folder of the
// test's own: its settings and its instance slot are the test's, not those
// of a real copy of the program.
class RelocatedFiles : public IFileSystem {
 public:
  RelocatedFiles(IFileSystem& real, std::string exe) : real_(real), exe_(std::move(exe)) {}
  bool FileExists(const std::string& p) override { return real_.FileExists(p); }
  bool DirExists(const std::string& p) override { return real_.DirExists(p); }
  bool CreateDir(const std::string& p) override { return real_.CreateDir(p); }
  bool RemoveDir(const std::string& p) override { return real_.RemoveDir(p); }
  bool ReadFile(const std::string& p, std::string* b) override { return real_.ReadFile(p, b); }
  bool WriteFile(const std::string& p, const std::string& b) override { return real_.WriteFile(p, b); }
  bool AppendFile(const std::string& p, const std::string& b) override { return real_.AppendFile(p, b); }
  bool DeleteFile(const std::string& p) override { return real_.DeleteFile(p); }
  bool MoveFile(const std::string& f, const std::string& t, bool r) override { return real_.MoveFile(f, t, r); }
  bool CopyFile(const std::string& f, const std::string& t, bool x) override { return real_.CopyFile(f, t, x); }
  std::vector<FindEntry> FindFiles(const std::string& p) override { return real_.FindFiles(p); }
  bool LastWriteTime(const std::string& p, DateTime* o) override { return real_.LastWriteTime(p, o); }
  std::string ExePath() override { return exe_; }
  IFileSystem* Real() const { return &real_; }

 private:
  IFileSystem& real_;
  std::string exe_;
};

// Everything under a folder, and the folder.
void RemoveTree(const std::string& dir) {
  for (const FindEntry& e : Files().FindFiles(dir + "\\*")) {
    if (e.name == "." || e.name == "..") continue;
    if (e.IsDirectory())
      RemoveTree(dir + "\\" + e.name);
    else
      Files().DeleteFile(dir + "\\" + e.name);
  }
  Files().RemoveDir(dir);
}

std::string ShortPath(const std::string& p) {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetShortPathNameA(p.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : p;
}

// A drop handle as the shell makes one: DROPFILES, then the paths, each
// ended by a zero, and one more zero.
HGLOBAL MakeDrop(const std::vector<std::string>& paths) {
  size_t chars = 1;
  for (const std::string& p : paths)
    chars += p.size() + 1;
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  auto* d = static_cast<DROPFILES*>(GlobalLock(h));
  d->pFiles = sizeof(DROPFILES);
  d->fWide = FALSE;
  char* out = reinterpret_cast<char*>(d + 1);
  for (const std::string& p : paths) {
    memcpy(out, p.c_str(), p.size() + 1);
    out += p.size() + 1;
  }
  *out = 0;
  GlobalUnlock(h);
  return h;
}

struct ShownMenu {
  int items = 0;
  int ownerDrawn = 0;
  int itemHeight = 0;
  bool seen = false;
} shownMenu;

// Looks at the folder menu while it is up, then closes it.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, id);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  shownMenu.seen = true;
  shownMenu.items = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < shownMenu.items; ++i) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoA(menu, UINT(i), TRUE, &mi) && (mi.fType & MFT_OWNERDRAW)) ++shownMenu.ownerDrawn;
  }
  RECT r{};
  if (menu && GetMenuItemRect(nullptr, menu, 0, &r)) shownMenu.itemHeight = r.bottom - r.top;
  EndMenu();
}

struct Win32BarTest : ::testing::Test {
  Win32BarTest() {
    // As the program does at start-up: the shell's link object needs it.
    oleReady = ShellLinks().OleInitialize() == 0;
    // A fresh folder: process numbers come round again under Wine.
    root = testing::MakeTempFolder("tovira-bar");
    RemoveTree(root.substr(0, root.size() - 1));
    root = testing::MakeTempFolder("tovira-bar");
    CreateDirectoryA((root + "app").c_str(), nullptr);
    CreateDirectoryA((root + "app\\Config").c_str(), nullptr);
    CreateDirectoryA((root + "app\\Langs").c_str(), nullptr);
    for (const char* f : {"Config\\Settings.tpl", "Config\\Lingua.lst", "Langs\\Italiano.lng", "Langs\\English.lng"})
      CopyFileA((testing::BuildFolder() + f).c_str(), (root + "app\\" + f).c_str(), FALSE);
    source = root + "links";
    CreateDirectoryA(source.c_str(), nullptr);
    files = std::make_unique<RelocatedFiles>(*wp.Get().files, root + "app\\tovira.exe");
    wp.Get().files = files.get();
    {
      TSettingsStore app(AppSubDir("Config"), kStoreName, "");
      app.SetString("Avvio", "UserDir", root + "user");
    }
    TSettingsStores(kStoreName).User().SetString("Generale", "FolderSource", source);
    // The bar's key exists: a normal start, not the first one.
    for (slot = 0; slot <= 9; ++slot) {
      RegValue v;
      if (!Registry().ReadValue(kInstanceRootKey, InstanceValueName(slot), &v) || v.AsString().empty()) break;
    }
    Registry().CreateKey(BarKeyName(slot));
    SetSharedImageLists(SystemImageList("LARGE"), SystemImageList("SMALL"));
  }
  ~Win32BarTest() override {
    bar.reset();
    stores.reset();
    dc.reset();
    Registry().DeleteValue(kInstanceRootKey, InstanceValueName(slot));
    RegDeleteKeyA(HKEY_CURRENT_USER, BarKeyName(slot).c_str());
    wp.Get().files = files->Real();
    RemoveTree(root.substr(0, root.size() - 1));
    if (oleReady) ShellLinks().OleUninitialize();
  }
  void Pump() {
    for (int i = 0; i < 5; ++i) {
      static_cast<win32::Win32WindowSystem&>(Windows()).PumpWaiting();
      Sleep(20);
    }
  }
  void Start() {
    monitors = std::make_unique<TMonitorList>();
    monitors->Load();
    dc = std::make_unique<TDataModule>();
    stores = std::make_unique<TSettingsStores>(kStoreName);
    bar = std::make_unique<TBarWindow>(*dc, settings, stores->User(), *monitors);
    bar->Window();
    bar->Show();
    Pump();
  }
  HWND Hwnd() { return HWND(bar->Handle()); }
  void Click(size_t i) {
    const Rect r = bar->Button(i).BoundsRect();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Hwnd(), WM_LBUTTONUP, 0, at);
  }

  win32::Win32Platform wp;
  std::unique_ptr<RelocatedFiles> files;
  std::string root, source;
  int slot = 0;
  bool oleReady = false;
  std::unique_ptr<TMonitorList> monitors;
  std::unique_ptr<TDataModule> dc;
  std::unique_ptr<TSettingsStores> stores;
  TBarSettings settings;
  std::unique_ptr<TBarWindow> bar;
};

TEST_F(Win32BarTest, DropsMakeShortcutsAndButtonsAndClicksStartTheirTargets) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  Start();
  ASSERT_EQ(bar->BarInstanceIndex(), slot);
  ASSERT_EQ(bar->SourceFolder(), source);
  ASSERT_EQ(bar->ButtonCount(), 0u);

  // Three items dropped from the shell.
  const std::string marker = root + "tovira_marker.exe";
  ASSERT_TRUE(CopyFileA((testing::BuildFolder() + "tovira_marker.exe").c_str(), marker.c_str(), FALSE));
  const std::string docs = root + "Documenti del progetto";
  CreateDirectoryA(docs.c_str(), nullptr);
  for (const char* f : {"\\lettera.txt", "\\conti.csv"})
    Files().WriteFile(docs + f, "x");
  const std::string note = root + "nota.txt";
  Files().WriteFile(note, "x");
  PostMessageA(Hwnd(), WM_DROPFILES, WPARAM(MakeDrop({marker, docs, note})), 0);
  Pump();

  ASSERT_EQ(bar->ButtonCount(), 3u);
  EXPECT_EQ(bar->Button(0).hint, "tovira_marker");
  EXPECT_EQ(bar->Button(1).hint, "Documenti del progetto");
  EXPECT_EQ(bar->Button(2).hint, "nota");
  for (const char* link : {"\\tovira_marker.exe.lnk", "\\Documenti del progetto.lnk", "\\nota.txt.lnk"})
    EXPECT_EQ(GetFileAttributesA((source + link).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << link;
  // The shell's own link object reads them back (in short form on Windows;
  // Wine answers the long one).
  EXPECT_EQ(ShortPath(ReadShortcutTarget(bar->Handle(), source + "\\Documenti del progetto.lnk")), ShortPath(docs));
  EXPECT_EQ(ShortPath(ReadShortcutTarget(bar->Handle(), source + "\\nota.txt.lnk")), ShortPath(note));

  // A click on the first button starts the program through its shortcut.
  const std::string launched = root + "tovira_marker.launched";
  DeleteFileA(launched.c_str());
  Click(0);
  bool started = false;
  for (int i = 0; i < 300 && !started; ++i) {
    Pump();
    started = GetFileAttributesA(launched.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  EXPECT_TRUE(started) << "the marker program did not run";

  // The folder's button turned into a folder menu: its entries, drawn by
  // the bar with their icons, each 5 pixels taller than the standard.
  TRecordTable& links = dc->TblLinks;
  ASSERT_TRUE(links.Locate("Ordine", "1"));
  links.Edit();
  links.FieldByName("FolderMenu").SetAsBoolean(true);
  links.Post();
  bar->RebuildBar();
  ASSERT_TRUE(bar->FolderMenus().Built() && bar->FolderMenus().At(1));
  shownMenu = ShownMenu{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, InspectMenu);
  Click(1);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(shownMenu.seen);
  EXPECT_EQ(shownMenu.items, 2);
  EXPECT_EQ(shownMenu.ownerDrawn, 2);
  EXPECT_GE(shownMenu.itemHeight, 16 + 2 + 5);
}

}  // namespace
}  // namespace tov
