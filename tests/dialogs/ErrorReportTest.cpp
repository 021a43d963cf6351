// The error report on the headless platform: the levels, the report text
// and its files, the window's buttons (archive, save, send), the crash
// handler's setup and the question after a crash, and the guard's log.
#include <gtest/gtest.h>

#include "base/Utf8Text.h"
#include "dialogs/CrashReport.h"
#include "dialogs/ErrorReport.h"
#include "files/FileHelpers.h"
#include "files/Log.h"
#include "platform/EventGuard.h"
#include "platform/host/HostDiagnostics.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostForm.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"
#include "tests/ShippedFiles.h"
#include "text/MessageBoxes.h"
#include "toolkit/FormControls.h"

namespace tov {
namespace {

std::string RepeatText(const std::string& unit, int n) {
  std::string s;
  for (int i = 0; i < n; ++i)
    s += unit;
  return s;
}

struct ErrorReportTest : ::testing::Test {
  ErrorReportTest() {
    // The language files beside the program.
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    hp.Diagnostics().modules = {
        {"C:\\Programmi\\Tovira\\tovira.exe", 0x140000000, 0x80000, {{0x1000, 0x5000}, {0x7000, 0x2000}}}};
  }
  ErrorInfo Error(int level, const std::string& display) {
    ErrorInfo e;
    e.displayMessage = display;
    e.exceptionMessage = "indice fuori dai limiti";
    e.catchFunction = "CaricaTabella";
    e.catchLine = 42;
    e.catchModule = "Supportdb";
    e.address = 0x140001010;
    e.thrownClass = "ERangeError";
    e.throwFile = "Tabelle.cpp";
    e.throwLine = "17";
    e.level = level;
    return e;
  }
  std::string Read(const std::string& path) {
    std::string b;
    Files().ReadFile(path, &b);
    return b;
  }
  std::string Log() { return Read(TLog(DebugFolder()).FileName()); }
  host::HostDialogs& Boxes() { return hp.Dialogs(); }
  // Plays the report window.
  void OnReport(std::function<void(host::HostForm&)> script) { hp.Windows().modalScripts.push_back(std::move(script)); }
  host::HostPlatform hp;
};

TEST_F(ErrorReportTest, LevelsAboveTheFullReportShowAtMostAPlainBox) {
  ReportError(Error(1, ""), "Italiano");
  ReportError(Error(2, "Qualcosa non va"), "Italiano");
  EXPECT_TRUE(Boxes().shown.empty());
  ReportError(Error(1, "Qualcosa non va"), "Italiano");
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_EQ(Boxes().shown[0].text, "Qualcosa non va");
  EXPECT_EQ(Boxes().shown[0].caption, AppTitle() + " - Errore");
  EXPECT_TRUE(hp.Windows().shownForms.empty());
  EXPECT_FALSE(Files().FileExists(DebugFile("ExcpText.txt")));
}

TEST_F(ErrorReportTest, AFullReportShowsTheTextKeepsItsFilesAndTellsWhereItWasCaught) {
  std::vector<std::string> memo;
  std::string picture;
  OnReport([&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Errore nell'applicazione");
    memo = SplitLines(f.Text("MemoErrore"));
    picture = f.Text("EditS_FileImmagine");
    // The picture opens with a double click on its name, or with "...".
    EXPECT_TRUE(f.DoubleClick("EditS_FileImmagine"));
    EXPECT_TRUE(f.Click("BtnMostraImmagine"));
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, "Impossibile caricare la tabella"), "Italiano");
  ASSERT_EQ(memo.size(), 11u);
  EXPECT_EQ(memo[0], "Errore livello 0 in " + AppTitle() + "(Tovira)");
  EXPECT_EQ(memo[1].substr(memo[1].find(": '")), ": 'indice fuori dai limiti'.");
  EXPECT_EQ(memo[2], "Messaggio visualizzato: 'Impossibile caricare la tabella'.");
  EXPECT_EQ(memo[4], "Indirizzo: '140001010'.");
  EXPECT_EQ(memo[5], "Eccezione estesa: 'No message'.");
  EXPECT_EQ(memo[6], "Throw: ERangeError, modulo Tabelle.cpp, riga 17.");
  EXPECT_EQ(memo[7], "Catch: Modulo Supportdb, riga 42, funzione CaricaTabella.");
  EXPECT_EQ(memo[9], "App: 1.2.1 Arc:1.2.1 OS: Windows 10 ");
  EXPECT_EQ(memo[10], "Map: tovira.exe 1 0x00000010");
  // The text file, the log with its dashes, the screenshot as PNG.
  std::string expected;
  for (const std::string& line : memo)
    expected += line + "\r\n";
  EXPECT_EQ(Read(DebugFile("ExcpText.txt")), expected);
  const std::string log = Log();
  EXPECT_NE(log.find(": " + memo[6] + "\r\n"), std::string::npos);
  EXPECT_NE(log.find(": " + std::string(80, '-') + "\r\n"), std::string::npos);
  EXPECT_EQ(picture, DebugFile("ExcpScreen.png"));
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{picture, picture}));
  Picture png;
  std::string error;
  ASSERT_TRUE(Canvases().ImageCodec()->Decode(Read(picture), &png, &error)) << error;
  EXPECT_EQ(png.rgb, hp.Diagnostics().screen);
  // After the window: the box with where the error was caught.
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_EQ(Boxes().shown[0].caption, "Errore nell'applicazione - (Supportdb,42)");
}

TEST_F(ErrorReportTest, AnAddressOutsideEveryModuleHasNoMapLine) {
  ErrorInfo e = Error(0, "");
  e.address = 0x10;
  const auto lines = ErrorReportLines(e, "No message", System().Now());
  EXPECT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.back().rfind("App: ", 0), 0u);
  // The end of a section still belongs to it; the gap after it to none.
  e.address = 0x140001000 + 0x5000;
  EXPECT_EQ(ErrorReportLines(e, "", System().Now()).back(), "Map: tovira.exe 1 0x00005000");
  e.address = 0x140006100;
  EXPECT_EQ(ErrorReportLines(e, "", System().Now()).size(), 10u);
}

// The report's text and the module's name are cut by characters: a name or
// a message in another script never ends in a part of a character.
TEST_F(ErrorReportTest, LongTextsAreCutByCharactersNeverInsideOne) {
  const std::string longName = RepeatText("\u65e5", 70) + ".exe";  // three bytes each
  hp.Diagnostics().modules = {{"C:\\Programmi\\" + longName, 0x140000000, 0x80000, {{0x1000, 0x5000}}}};
  const std::string map = ErrorReportLines(Error(0, ""), "", System().Now()).back();
  EXPECT_EQ(map, "Map: " + RepeatText("\u65e5", 63) + " 1 0x00000010");

  const std::runtime_error error("x");
  const std::string text = ExtendedExceptionText(&error, 0x140001010, RepeatText("\u0416", 3000));
  EXPECT_EQ(Utf8CharCount(text), 2048u);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(ExtendedExceptionText(&error, 0, "breve"), "Exception std::runtime_error at 00000000.\r\nbreve.");
}

TEST_F(ErrorReportTest, TheSystemsAreNamedTheNewerOnesToo) {
  struct Case {
    OsVersion v;
    const char* name;
  };
  const Case cases[] = {
      {{1, 4, 0, 950, ""}, "Windows 95"},       {{1, 4, 0, 1000, ""}, "Windows 95 SP1"},
      {{1, 4, 0, 1111, ""}, "Windows 95 OSR2"}, {{1, 4, 10, 1998, ""}, "Windows 98"},
      {{1, 4, 10, 2000, ""}, "Windows 98 SP1"}, {{1, 4, 10, 2222, ""}, "Windows 98 SE"},
      {{1, 4, 90, 3000, ""}, "Windows ME"},     {{2, 3, 51, 1057, ""}, "Windows NT 3.51"},
      {{2, 5, 1, 2600, ""}, "Windows XP"},      {{2, 6, 1, 7601, ""}, "Windows 7"},
      {{2, 6, 2, 9200, ""}, "Windows 8"},       {{2, 6, 3, 9600, ""}, "Windows 8.1"},
      {{2, 10, 0, 19045, ""}, "Windows 10"},    {{2, 10, 0, 22631, ""}, "Windows 11"},
      {{3, 5, 0, 0, ""}, "Windows CE"},         {{2, 7, 0, 0, ""}, "unknown Windows version"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WindowsVersionName(c.v), c.name) << c.v.platform << " " << c.v.major << "." << c.v.minor;
}

TEST_F(ErrorReportTest, SaveCopiesTheArchiveWithoutThePictureWhenAskedAndTellsWhatCannotBeWritten) {
  Boxes().fileAnswers = {"C:\\Rapporti\\errore.exc"};
  ASSERT_TRUE(Files().CreateDir("C:\\Rapporti"));
  OnReport([&](host::HostForm& f) {
    EXPECT_TRUE(f.Click("ChkAllegaImmagine"));
    EXPECT_TRUE(f.Click("BtnSalva"));
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, ""), "Italiano");
  const std::string archive = Read("C:\\Rapporti\\errore.exc");
  ASSERT_EQ(archive.substr(0, 4), std::string("PK\x03\x04", 4));
  EXPECT_NE(archive.find("ExcpText.txt"), std::string::npos);
  EXPECT_EQ(archive.find("ExcpScreen"), std::string::npos);
  EXPECT_EQ(archive, Read(DebugFile("Excp.exc")));
  EXPECT_TRUE(Boxes().shown.empty());

  // A copy that cannot be made is told, naming the place.
  hp.Files().SetReadOnlyFolder("C:\\Rapporti\\");
  Boxes().fileAnswers = {"C:\\Rapporti\\altro.exc"};
  OnReport([&](host::HostForm& f) {
    EXPECT_TRUE(f.Click("BtnSalva"));
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, ""), "Italiano");
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_NE(Boxes().shown[0].text.find("C:\\Rapporti\\altro.exc"), std::string::npos);
}

TEST_F(ErrorReportTest, SendGoesToTheMailProgramOrShowsTheArchiveInItsFolder) {
  OnReport([&](host::HostForm& f) {
    EXPECT_TRUE(f.Click("BtnInvia"));
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, ""), "Italiano");
  ASSERT_EQ(hp.Diagnostics().mails.size(), 1u);
  const auto& mail = hp.Diagnostics().mails[0];
  EXPECT_EQ(mail.attachments, std::vector<std::string>{DebugFile("Excp.exc")});
  EXPECT_NE(mail.body.find("Catch: Modulo Supportdb"), std::string::npos);
  EXPECT_TRUE(Boxes().shown.empty());

  hp.Diagnostics().mailAnswer = MailResult::NoMailProgram;
  OnReport([&](host::HostForm& f) {
    EXPECT_TRUE(f.Click("BtnInvia"));
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, ""), "Italiano");
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_NE(Boxes().shown[0].text.find(DebugFile("Excp.exc")), std::string::npos);
  EXPECT_EQ(hp.Diagnostics().shownInFolder, std::vector<std::string>{DebugFile("Excp.exc")});
}

TEST_F(ErrorReportTest, AReportThatCannotBeWrittenIsToldAndStillShown) {
  hp.Files().SetReadOnlyFolder(DebugFolder());
  bool shown = false;
  OnReport([&](host::HostForm& f) {
    shown = true;
    EXPECT_EQ(f.Text("EditS_FileImmagine"), "");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  ReportError(Error(0, ""), "Italiano");
  EXPECT_TRUE(shown);
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_NE(Boxes().shown[0].text.find(DebugFile("ExcpText.txt")), std::string::npos);
}

TEST_F(ErrorReportTest, TheCrashHandlerIsSetUpAndTheNextStartTellsOnce) {
  InstallCrashReporting(0);
  ASSERT_EQ(hp.Diagnostics().crashSetups.size(), 1u);
  const CrashSetup& s = hp.Diagnostics().crashSetups[0];
  EXPECT_EQ(s.reportFile, DebugFile("ExcpCrash.txt"));
  EXPECT_EQ(s.dumpFile, DebugFile("ExcpCrash.dmp"));
  EXPECT_EQ(s.logPrefix, DebugFolder() + "Log_");
  EXPECT_EQ(s.knownLines.back(), "App: 1.2.1 Arc:1.2.1 OS: Windows 10 ");
  // After the crash, the program's own executable tells and restarts.
  ASSERT_GE(s.afterCrash.size(), 5u);
  EXPECT_EQ(s.afterCrash[0], "/crashed");
  AfterCrash after;
  ASSERT_TRUE(ParseAfterCrash(s.afterCrash, &after));
  EXPECT_EQ(after.pid, hp.Diagnostics().processId);
  EXPECT_EQ(after.slot, 0);
  EXPECT_EQ(hp.Diagnostics().restartRegistrations, 1);
  EXPECT_FALSE(TellPreviousCrash(0, 0, "Italiano"));

  // What the handler leaves behind.
  ASSERT_TRUE(Files().WriteFile(s.reportFile, "Arresto anomalo del programma\r\nMap: tovira.exe 1 0x00000010\r\n"));
  ASSERT_TRUE(Files().WriteFile(s.dumpFile, "MDMP"));
  ASSERT_TRUE(Files().WriteFile(s.markerFile, ""));
  Boxes().answers = {IDYES};
  OnReport([&](host::HostForm& f) {
    EXPECT_EQ(SplitLines(f.Text("MemoErrore")).back(), "Map: tovira.exe 1 0x00000010");
    EXPECT_EQ(f.Text("EditS_FileImmagine"), s.dumpFile);
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  EXPECT_TRUE(TellPreviousCrash(0, 0, "Italiano"));
  EXPECT_EQ(hp.Windows().shownForms.size(), 1u);
  EXPECT_NE(Boxes().shown.at(0).text.find(s.reportFile), std::string::npos);
  EXPECT_FALSE(TellPreviousCrash(0, 0, "Italiano"));
}

TEST_F(ErrorReportTest, CopiesInOtherSlotsKeepTheirCrashesApart) {
  InstallCrashReporting(3);
  InstallCrashReporting(-1);
  ASSERT_EQ(hp.Diagnostics().crashSetups.size(), 2u);
  const CrashSetup three = hp.Diagnostics().crashSetups[0], none = hp.Diagnostics().crashSetups[1];
  EXPECT_EQ(three.reportFile, DebugFile("ExcpCrash3.txt"));
  EXPECT_EQ(three.dumpFile, DebugFile("ExcpCrash3.dmp"));
  EXPECT_EQ(three.markerFile, DebugFile("ExcpCrash3.new"));
  EXPECT_EQ(none.markerFile, DebugFile("ExcpCrash-1.new"));
  EXPECT_EQ(three.logPrefix, DebugFolder() + "Log_");  // one day's log for all

  // The copy in slot 3 crashed: the copy in slot 0 does not tell it.
  ASSERT_TRUE(Files().WriteFile(three.reportFile, "Arresto anomalo del programma\r\nSlot 3\r\n"));
  ASSERT_TRUE(Files().WriteFile(three.markerFile, ""));
  EXPECT_FALSE(TellPreviousCrash(0, 0, "Italiano"));
  EXPECT_FALSE(TellPreviousCrash(0, -1, "Italiano"));
  EXPECT_TRUE(Boxes().shown.empty());
  EXPECT_TRUE(Files().FileExists(three.markerFile));
  Boxes().answers = {IDYES};
  OnReport([&](host::HostForm& f) {
    EXPECT_EQ(SplitLines(f.Text("MemoErrore")).back(), "Slot 3");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  EXPECT_TRUE(TellPreviousCrash(0, 3, "Italiano"));
  EXPECT_NE(Boxes().shown.at(0).text.find(three.reportFile), std::string::npos);
  EXPECT_FALSE(Files().FileExists(three.markerFile));
}

TEST_F(ErrorReportTest, AnExceptionTheGuardCatchesIsShownAndLogged) {
  InstallExceptionDisplay();
  GuardEvent([] { throw std::runtime_error("tabella rotta"); });
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_NE(Log().find("'tabella rotta'"), std::string::npos);
  SetExceptionDisplay(nullptr);
}

// The start-up hands the display a way to the bar's language: a report filed
// later shows in the language the bar has then, not the one it started with.
TEST_F(ErrorReportTest, AFiledReportShowsInTheLanguageTheBarHasAtThatMoment) {
  std::string language = "English";
  InstallExceptionDisplay([&language] { return language; });
  OnReport([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Application error");
    EXPECT_EQ(f.Text("BtnChiudi"), "Close");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  FileErrorReport(Error(0, ""));
  language.clear();  // none: the window's own texts
  OnReport([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Errore nell'applicazione");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  FileErrorReport(Error(0, ""));
  EXPECT_TRUE(hp.Windows().modalScripts.empty());
  EXPECT_EQ(hp.Windows().shownForms, (std::vector<std::string>{"FormExceptMessage", "FormExceptMessage"}));
  SetErrorReporter(nullptr);
  SetExceptionDisplay(nullptr);
}

}  // namespace
}  // namespace tov
