// The process the crash handler starts: its command line, the rule that a
// bar which crashed within a minute of its start is not started again, and
// what it does: waits for the crashed process, takes the crash's mark,
// starts the bar again, tells the user in the bar's language and offers the
// report window.
#include <gtest/gtest.h>

#include "bar/Program.h"
#include "dialogs/CrashReport.h"
#include "dialogs/ErrorReport.h"
#include "files/FileHelpers.h"
#include "platform/host/HostDiagnostics.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostForm.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"
#include "tests/ShippedFiles.h"
#include "text/MessageBoxes.h"

namespace tov {
namespace {

TEST(AfterCrashSwitch, ReadsBackWhatTheHandlerIsGivenAndRefusesTheRest) {
  AfterCrash run;
  run.pid = 4000000000u;
  run.slot = -1;
  run.startTick = 0xFFFFFFF0u;
  run.language = "";
  run.arguments = {"con spazi", "", "/crashed"};
  const std::vector<std::string> args = AfterCrashArguments(run);
  EXPECT_EQ(args[0], "/crashed");
  AfterCrash back;
  ASSERT_TRUE(ParseAfterCrash(args, &back));
  EXPECT_EQ(back.pid, run.pid);
  EXPECT_EQ(back.slot, -1);
  EXPECT_EQ(back.startTick, run.startTick);
  EXPECT_EQ(back.language, "");
  EXPECT_EQ(back.arguments, run.arguments);

  const std::vector<std::vector<std::string>> bad = {
      {},
      {"/crashed", "12", "0", "5"},              // no language
      {"/crash", "12", "0", "5", ""},            // another switch
      {"/crashed", "0", "0", "5", ""},           // no process 0
      {"/crashed", "12a", "0", "5", ""},         // not read whole
      {"/crashed", "4294967296", "0", "5", ""},  // beyond 32 bits
      {"/crashed", "12", "-2", "5", ""},         // slots from -1
      {"/crashed", "12", "0", "-5", ""},         // ticks are not negative
      {"/crashed", "12", "", "5", ""},
      {"/crashed", "-", "0", "5", ""},
  };
  for (const auto& b : bad)
    EXPECT_FALSE(ParseAfterCrash(b, &back)) << (b.size() > 1 ? b[1] + " " + b[2] : "short");
}

TEST(AfterCrashSwitch, ABarThatCrashedWithinAMinuteOfItsStartIsNotStartedAgain) {
  EXPECT_FALSE(RestartsAfterCrash(1000, 1000));
  EXPECT_FALSE(RestartsAfterCrash(1000, 60999));
  EXPECT_TRUE(RestartsAfterCrash(1000, 61000));
  EXPECT_TRUE(RestartsAfterCrash(1000, 5000000));
  // Across the tick's wrap.
  EXPECT_FALSE(RestartsAfterCrash(0xFFFFF000u, 0x00001000u));
  EXPECT_FALSE(RestartsAfterCrash(0xFFFFF000u, 0xFFFFF000u + (kNoRestartWithinMs - 1)));
  EXPECT_TRUE(RestartsAfterCrash(0xFFFFF000u, 0xFFFFF000u + kNoRestartWithinMs));
}

struct AfterCrashTest : ::testing::Test {
  AfterCrashTest() {
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    SetAppTitle("Tovira");
    run.pid = 777;
    run.slot = 2;
    run.arguments = {"/uno"};
    hp.System().ticks = 500000;
    Files().WriteFile(DebugFolder() + "ExcpCrash2.txt", "Arresto anomalo del programma\r\nMap: tovira.exe 1 0x10\r\n");
    Files().WriteFile(DebugFolder() + "ExcpCrash2.dmp", "MDMP");
    Files().WriteFile(DebugFolder() + "ExcpCrash2.new", "");
  }
  host::HostDialogs& Boxes() { return hp.Dialogs(); }
  host::HostDiagnostics& Diag() { return hp.Diagnostics(); }
  host::HostPlatform hp;
  AfterCrash run;
};

TEST_F(AfterCrashTest, TheBarStartsAgainOnceTheCrashedOneEndedAndTheReportIsOffered) {
  run.startTick = 500000 - kNoRestartWithinMs - 1;
  Boxes().answers = {IDYES};
  hp.Windows().modalScripts.push_back([](host::HostForm& f) {
    EXPECT_NE(f.Text("MemoErrore").find("Map: tovira.exe 1 0x10"), std::string::npos);
    EXPECT_EQ(f.Text("EditS_FileImmagine"), DebugFolder() + "ExcpCrash2.dmp");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  EXPECT_EQ(RunAfterCrash(run), 0);
  ASSERT_EQ(Diag().waitsForEnd.size(), 1u);
  EXPECT_EQ(Diag().waitsForEnd[0], std::make_pair(777u, kCrashedEndTimeoutMs));
  ASSERT_EQ(Diag().startedAgain.size(), 1u);
  EXPECT_EQ(Diag().startedAgain[0], std::vector<std::string>{"/uno"});
  // The mark is taken: the bar started again does not tell the crash twice.
  EXPECT_FALSE(Files().FileExists(DebugFolder() + "ExcpCrash2.new"));
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_EQ(Boxes().shown[0].caption, "Tovira - Errore");
  const std::string& text = Boxes().shown[0].text;
  EXPECT_NE(text.find(DebugFolder() + "ExcpCrash2.txt"), std::string::npos) << text;
  EXPECT_NE(text.find("riavviato."), std::string::npos) << text;
  EXPECT_EQ(text.find("meno di un minuto"), std::string::npos) << text;
  EXPECT_NE(text.find("Aprire la finestra del rapporto?"), std::string::npos) << text;
  EXPECT_EQ(hp.Windows().shownForms.size(), 1u);
}

TEST_F(AfterCrashTest, ACrashWithinAMinuteOfTheStartOnlyTells) {
  run.startTick = 500000 - 5000;
  Boxes().answers = {IDNO};
  EXPECT_EQ(RunAfterCrash(run), 0);
  EXPECT_TRUE(Diag().startedAgain.empty());
  EXPECT_FALSE(Files().FileExists(DebugFolder() + "ExcpCrash2.new"));
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_NE(Boxes().shown[0].text.find("meno di un minuto"), std::string::npos) << Boxes().shown[0].text;
  EXPECT_TRUE(hp.Windows().shownForms.empty());  // "No": no report window
}

TEST_F(AfterCrashTest, ABarThatDoesNotEndOrCannotStartIsToldNotStartedTwice) {
  run.startTick = 0;
  Diag().runningProcesses = {777};
  Boxes().answers = {IDNO, IDNO};
  RunAfterCrash(run);
  EXPECT_TRUE(Diag().startedAgain.empty());
  Diag().runningProcesses.clear();
  Diag().startFails = true;
  RunAfterCrash(run);
  ASSERT_EQ(Boxes().shown.size(), 2u);
  for (const auto& box : Boxes().shown)
    EXPECT_NE(box.text.find("Non \u00E8 stato possibile riavviare"), std::string::npos) << box.text;
}

TEST_F(AfterCrashTest, ToldInTheBarsLanguage) {
  run.startTick = 0;
  run.language = "English";
  Boxes().answers = {IDNO};
  RunAfterCrash(run);
  ASSERT_EQ(Boxes().shown.size(), 1u);
  EXPECT_EQ(Boxes().shown[0].caption, "Tovira - Error");
  EXPECT_NE(Boxes().shown[0].text.find("has been started again"), std::string::npos) << Boxes().shown[0].text;
  EXPECT_NE(Boxes().shown[0].text.find("Open the report window?"), std::string::npos);
}

// The report window the question opens speaks the crashed bar's language too.
TEST_F(AfterCrashTest, TheReportWindowOpensInTheBarsLanguage) {
  run.startTick = 0;
  run.language = "English";
  Boxes().answers = {IDYES};
  hp.Windows().modalScripts.push_back([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Application error");
    EXPECT_TRUE(f.Click("BtnChiudi"));
  });
  RunAfterCrash(run);
  EXPECT_EQ(hp.Windows().shownForms, std::vector<std::string>{"FormExceptMessage"});
  EXPECT_TRUE(hp.Windows().modalScripts.empty());
}

TEST_F(AfterCrashTest, TheEntryPointTakesTheSwitchAndRefusesItMalformed) {
  run.startTick = 0;
  Boxes().answers = {IDNO};
  const size_t windows = hp.Windows().WindowCount();
  EXPECT_EQ(RunProgram(AfterCrashArguments(run)), 0);
  EXPECT_EQ(Diag().startedAgain.size(), 1u);
  EXPECT_EQ(hp.Windows().WindowCount(), windows);  // no bar of its own
  EXPECT_EQ(RunProgram({"/crashed", "uno"}), 1);
  ASSERT_EQ(Boxes().shown.size(), 2u);
  EXPECT_NE(Boxes().shown[1].text.find("/crashed PID SLOT START"), std::string::npos);
  EXPECT_EQ(hp.Windows().WindowCount(), windows);
}

}  // namespace
}  // namespace tov
