// Shortcut files as the bar writes and reads them: names, overwrite, the
// desktop, errors, the OLE answers, and links kept in the platform's files.
#include <gtest/gtest.h>

#include <vector>

#include "formats/ShortcutFiles.h"
#include "platform/FileShellLinks.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"

namespace tov {
namespace {

using host::HostPlatform;

const char* kCantCreate = "Could not create shortcut";

void WriteFile(const std::string& path, const std::string& bytes) { ASSERT_TRUE(Files().WriteFile(path, bytes)); }

std::string ReadFile(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(Files().ReadFile(path, &bytes)) << path;
  return bytes;
}

std::string Description(const std::string& link) {
  std::string target, description;
  EXPECT_EQ(ShellLinks().LoadLink(0, link, &target, &description), S_OK_RESULT) << link;
  return description;
}

// Records what the shortcut code asks of the links object.
class FakeLinks : public IShellLinks {
 public:
  int32_t initAnswer = S_OK_RESULT;
  int32_t saveAnswer = S_OK_RESULT;
  int inits = 0, uninits = 0;
  std::vector<std::string> saved;
  int32_t OleInitialize() override {
    ++inits;
    return initAnswer;
  }
  void OleUninitialize() override { ++uninits; }
  int32_t SaveLink(const std::string& linkPath, const std::string& target, const std::string& description) override {
    saved.push_back(linkPath + "|" + target + "|" + description);
    return saveAnswer;
  }
  int32_t LoadLink(WindowId owner, const std::string&, std::string* target, std::string*) override {
    *target = "C:\\DATI~1\\A.TXT";
    return owner == 7 ? S_OK_RESULT : S_FALSE_RESULT;
  }
};

struct WithFakeLinks {
  explicit WithFakeLinks(FakeLinks* links) : platform(Sys()) {
    platform.links = links;
    previous = InstallPlatform(&platform);
  }
  ~WithFakeLinks() { InstallPlatform(previous); }
  Platform platform;
  Platform* previous;
};

TEST(Shortcut, DroppedItemsBecomeLinksNamedAfterThemAndReadBack) {
  HostPlatform hp;
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Fonte"));
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Dati\\Una cartella dal nome lungo"));
  WriteFile("C:\\Dati\\report.pdf", "%PDF");
  WriteFile("C:\\Dati\\Caff\u00E8 \u20AC.txt", "x");

  const std::vector<std::string> targets = {"C:\\Dati\\report.pdf", "C:\\Dati\\Una cartella dal nome lungo",
                                            "C:\\Dati\\Caff\u00E8 \u20AC.txt", "C:\\Fonte\\Editor.lnk",
                                            "D:\\Manca\\nessuno.exe"};
  for (const std::string& target : targets) {
    SCOPED_TRACE(target);
    const std::string name = target.substr(target.rfind('\\') + 1);
    CreateShortcut(target, name, "C:\\Fonte");
    const std::string link = "C:\\Fonte\\" + name + ".lnk";
    ASSERT_TRUE(Files().FileExists(link));
    EXPECT_EQ(ReadShortcutTarget(0, link), target);
    EXPECT_EQ(Description(link), name);
  }
  EXPECT_TRUE(Files().FileExists("C:\\Fonte\\Editor.lnk.lnk"));
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST(Shortcut, FileNameIsWhatFollowsTheLastBackslashOrColon) {
  HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Fonte"));
  {
    FakeLinks links;
    WithFakeLinks installed(&links);
    CreateShortcut("C:nota.txt", "nota", "C:\\Fonte");
    ASSERT_EQ(links.saved.size(), 1u);
    EXPECT_EQ(links.saved[0], "C:\\Fonte\\nota.lnk|C:nota.txt|nota.txt");
  }
  // No file name: nothing is written and nothing is shown.
  for (const std::string target : {"C:\\Dati\\", "C:", "C:\\", ""}) {
    CreateShortcut(target, "vuoto", "C:\\Fonte");
    EXPECT_FALSE(Files().FileExists("C:\\Fonte\\vuoto.lnk")) << target;
  }
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST(Shortcut, ExistingLinkIsReplacedAndTheFolderSeparatorIsNotDoubled) {
  HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Fonte"));
  WriteFile("C:\\Fonte\\a.txt.lnk", "un vecchio file qualunque");
  CreateShortcut("C:\\Dati\\a.txt", "a.txt", "C:\\Fonte\\");
  EXPECT_EQ(ReadShortcutTarget(0, "C:\\Fonte\\a.txt.lnk"), "C:\\Dati\\a.txt");
  CreateShortcut("C:\\Altri\\a.txt", "a.txt", "C:\\Fonte");
  EXPECT_EQ(ReadShortcutTarget(0, "C:\\Fonte\\a.txt.lnk"), "C:\\Altri\\a.txt");
  std::vector<std::string> names;
  for (const FindEntry& e : Files().FindFiles("C:\\Fonte\\*"))
    names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.txt.lnk"}));  // no temporary file left
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST(Shortcut, EmptyFolderMeansTheUsersDesktop) {
  HostPlatform hp;
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Users\\utente\\Desktop"));
  CreateShortcut("C:\\Dati\\report.pdf", "report.pdf", "");
  EXPECT_EQ(ReadShortcutTarget(0, "C:\\Users\\utente\\Desktop\\report.pdf.lnk"), "C:\\Dati\\report.pdf");
  // Without a desktop folder the shortcut cannot be made.
  hp.System().specialFolders.erase(CSIDL_DESKTOPDIRECTORY);
  CreateShortcut("C:\\Dati\\altro.pdf", "altro.pdf", "");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, kCantCreate);
}

TEST(Shortcut, FailedWriteShowsTheErrorBoxAndKeepsTheOldLink) {
  HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Fonte"));
  CreateShortcut("C:\\Dati\\a.txt", "a.txt", "C:\\Fonte");
  const std::string before = ReadFile("C:\\Fonte\\a.txt.lnk");
  hp.Files().FailWriteAfter(1, 30);
  CreateShortcut("C:\\Altri\\a.txt", "a.txt", "C:\\Fonte");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, kCantCreate);
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "Tovira - Errore");
  EXPECT_EQ(ReadFile("C:\\Fonte\\a.txt.lnk"), before);
  // A missing folder and a target that is no path fail the same way.
  CreateShortcut("C:\\Dati\\b.txt", "b.txt", "C:\\Manca");
  CreateShortcut("relativo\\b.txt", "b.txt", "C:\\Fonte");
  EXPECT_EQ(hp.Dialogs().shown.size(), 3u);
  EXPECT_FALSE(Files().FileExists("C:\\Fonte\\b.txt.lnk"));
}

TEST(Shortcut, AnythingButASoundLinkReadsAsEmpty) {
  HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Fonte"));
  WriteFile("C:\\Fonte\\testo.lnk", "[InternetShortcut]\r\nURL=http://example.com\r\n");
  WriteFile("C:\\Fonte\\vuoto.lnk", "");
  CreateShortcut("C:\\Dati\\a.txt", "a.txt", "C:\\Fonte");
  const std::string whole = ReadFile("C:\\Fonte\\a.txt.lnk");
  WriteFile("C:\\Fonte\\tronco.lnk", whole.substr(0, whole.size() - 20));
  std::string damaged = whole;
  damaged[0x4C] = char(0xF0);  // item id list longer than the file
  WriteFile("C:\\Fonte\\rovinato.lnk", damaged);
  for (const std::string path : {"C:\\Fonte\\testo.lnk", "C:\\Fonte\\vuoto.lnk", "C:\\Fonte\\tronco.lnk",
                                 "C:\\Fonte\\rovinato.lnk", "C:\\Fonte\\manca.lnk", "C:\\Fonte", ""})
    EXPECT_EQ(ReadShortcutTarget(0, path), "") << path;
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST(FileShellLinks, LinkPathsBeyondTheShellsLimitAreRefusedNotCut) {
  HostPlatform hp;
  const std::string folder = "C:\\" + std::string(240, 'f');
  ASSERT_TRUE(Files().CreateDir(folder));
  const std::string fits = folder + "\\" + std::string(259 - folder.size() - 5, 'n') + ".lnk";
  ASSERT_EQ(fits.size(), 259u);
  EXPECT_EQ(ShellLinks().SaveLink(fits, "C:\\a.txt", "a"), S_OK_RESULT);
  const std::string tooLong = folder + "\\" + std::string(260 - folder.size() - 5, 'n') + ".lnk";
  EXPECT_NE(ShellLinks().SaveLink(tooLong, "C:\\a.txt", "a"), S_OK_RESULT);
  EXPECT_FALSE(Files().FileExists(tooLong));
  EXPECT_FALSE(Files().FileExists(tooLong.substr(0, 259)));
  std::string target, description;
  EXPECT_NE(ShellLinks().LoadLink(0, tooLong, &target, &description), S_OK_RESULT);
}

TEST(FileShellLinks, ExistingTargetsLendTheirAttributesAndSize) {
  HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  WriteFile("C:\\Dati\\dieci.bin", "0123456789");
  ASSERT_EQ(ShellLinks().SaveLink("C:\\f.lnk", "C:\\Dati\\dieci.bin", ""), S_OK_RESULT);
  ASSERT_EQ(ShellLinks().SaveLink("C:\\d.lnk", "c:\\dati", ""), S_OK_RESULT);
  const std::string file = ReadFile("C:\\f.lnk"), dir = ReadFile("C:\\d.lnk");
  EXPECT_EQ(uint8_t(file[0x18]), kAttrArchive);
  EXPECT_EQ(uint8_t(file[0x34]), 10);
  EXPECT_EQ(uint8_t(dir[0x18]), kAttrDirectory);
  std::string target, description;
  ASSERT_EQ(ShellLinks().LoadLink(0, "C:\\d.lnk", &target, &description), S_OK_RESULT);
  EXPECT_EQ(target, "C:\\dati");
}

TEST(Shortcut, EverySuccessOfOleIsUndoneAndAnIncompatibleLibraryStopsSilently) {
  HostPlatform hp;
  const struct {
    int32_t init, save;
    size_t saves, uninits, boxes;
  } cases[] = {
      {S_OK_RESULT, S_OK_RESULT, 1, 1, 0},
      {S_OK_RESULT, E_FAIL_RESULT, 1, 1, 1},
      {S_FALSE_RESULT, S_OK_RESULT, 1, 1, 0},       // already initialised on this thread: balanced too
      {E_FAIL_RESULT, S_OK_RESULT, 1, 0, 0},        // other failures go on
      {int32_t(0x80010106), S_OK_RESULT, 1, 0, 0},  // RPC_E_CHANGED_MODE: not ours to undo
      {OLE_E_WRONGCOMPOBJ_RESULT, S_OK_RESULT, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.init);
    FakeLinks links;
    links.initAnswer = c.init;
    links.saveAnswer = c.save;
    hp.Dialogs().shown.clear();
    {
      WithFakeLinks installed(&links);
      CreateShortcut("C:\\Dati\\a.txt", "a.txt", "C:\\Fonte");
    }
    EXPECT_EQ(links.inits, 1);
    EXPECT_EQ(links.saved.size(), c.saves);
    EXPECT_EQ(size_t(links.uninits), c.uninits);
    EXPECT_EQ(hp.Dialogs().shown.size(), c.boxes);
    if (c.saves) {
      EXPECT_EQ(links.saved[0], "C:\\Fonte\\a.txt.lnk|C:\\Dati\\a.txt|a.txt");
    }
  }
}

TEST(Shortcut, OleForTheThreadIsUndoneOnceForEverySuccess) {
  HostPlatform hp;
  for (int32_t answer : {S_OK_RESULT, S_FALSE_RESULT, E_FAIL_RESULT, OLE_E_WRONGCOMPOBJ_RESULT}) {
    SCOPED_TRACE(answer);
    FakeLinks links;
    links.initAnswer = answer;
    {
      WithFakeLinks installed(&links);
      TOleForThread ole;
      EXPECT_EQ(ole.Result(), answer);
      // What runs inside relies on it and balances its own pair.
      CreateShortcut("C:\\Dati\\a.txt", "a.txt", "C:\\Fonte");
      EXPECT_EQ(ReadShortcutTarget(7, "C:\\x.lnk"), "C:\\DATI~1\\A.TXT");
    }
    EXPECT_EQ(links.uninits, answer >= 0 ? 2 : 0);
    EXPECT_EQ(links.inits, 2);
  }
}

TEST(Shortcut, ReaderUsesTheThreadsOleAndPassesItsOwner) {
  HostPlatform hp;
  FakeLinks links;
  WithFakeLinks installed(&links);
  EXPECT_EQ(ReadShortcutTarget(7, "C:\\x.lnk"), "C:\\DATI~1\\A.TXT");
  EXPECT_EQ(ReadShortcutTarget(0, "C:\\x.lnk"), "");  // any answer but 0 is a failure
  EXPECT_EQ(links.inits, 0);
}

}  // namespace
}  // namespace tov
