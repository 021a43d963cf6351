// The about box: opened from the bar's menu, its credits (which lines follow
// the language, the executable's date), its links, the endless scrolling of
// the credits, and the logo.
#include <gtest/gtest.h>

#include "base/Product.h"
#include "dialogs/AboutBox.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostShell.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct AboutBoxTest : testing::BarFixture {
  ~AboutBoxTest() override { FreeMessageTable(); }
  void Play(std::function<void(host::HostForm&)> script) { hp.Windows().modalScripts.push_back(std::move(script)); }
};

TEST_F(AboutBoxTest, TheBarsMenuOpensItAndOkClosesIt) {
  Start();
  std::vector<std::string> lines;
  Play([&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().name, "FormAboutBox");
    EXPECT_EQ(f.Frame().caption, "Autore");
    EXPECT_EQ(f.Frame().border, FrameBorder::Dialog);
    EXPECT_EQ(f.Frame().place, FramePlace::ScreenCentre);
    EXPECT_EQ(f.Frame().bounds.Width(), 299);
    EXPECT_EQ(f.Frame().bounds.Height(), 269);
    EXPECT_EQ(f.Text("Label1"), "Per eventuali segnalazioni scrivere a:");
    EXPECT_EQ(f.DefaultButtonName(), "OKButton");
    EXPECT_EQ(f.Control("Image1")->type, ControlType::Painted);
    EXPECT_TRUE(f.PressEnter());
  });
  hp.Windows().menuChoices = {"Autore"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
  EXPECT_EQ(hp.Windows().shownForms, std::vector<std::string>{"FormAboutBox"});
  EXPECT_EQ(hp.Windows().modalOwners, std::vector<WindowId>{bar->Handle()});
  EXPECT_TRUE(hp.Windows().modalScripts.empty());
}

TEST_F(AboutBoxTest, CreditsNameTheVersionAndTheExecutablesDateInTheCurrentLanguage) {
  ASSERT_TRUE(Files().WriteFile("C:\\Uno\\tovira.exe", "MZ"));
  TFormAboutBox box(program.Settings().Lingua);
  Play([&](host::HostForm&) {});
  box.ShowModal(0);
  const std::string date = box.CreditLines().at(4);
  EXPECT_EQ(box.CreditLines(),
            (std::vector<std::string>{"Tovira", std::string("Versione ") + kProgramVersion, "", "Ultima Modifica", date,
                                      "", "Brenvoll web site", kMakerWebHost}));
  EXPECT_FALSE(date.empty());
  EXPECT_EQ(std::string(kProgramVersion), "1.2.1");

  // English: the version and date lines follow; name, number and site do not.
  TFormAboutBox english("English");
  Play([&](host::HostForm& f) { EXPECT_EQ(f.Text("Label1"), "To report a problem, write to:"); });
  english.ShowModal(0);
  EXPECT_EQ(english.CreditLines().at(0), "Tovira");
  EXPECT_EQ(english.CreditLines().at(1), std::string("Version ") + kProgramVersion);
  EXPECT_EQ(english.CreditLines().at(3), "Last modified");
  EXPECT_EQ(english.CreditLines().at(7), kMakerWebHost);

  // An executable whose date cannot be read leaves the fifth line empty.
  hp.Files().SetExePath("C:\\Sparito\\tovira.exe");
  english.ShowModal(0);
  EXPECT_EQ(english.CreditLines().at(4), "");
}

TEST_F(AboutBoxTest, TheLinksOpenAMailAndTheProductPage) {
  TFormAboutBox box(program.Settings().Lingua);
  Play([&](host::HostForm& f) {
    const ControlDesc* mail = f.Control("IndirizzoWeb");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(f.Text("IndirizzoWeb"), kSupportMail);
    EXPECT_TRUE(mail->handCursor);
    EXPECT_TRUE(mail->font.style & kFontUnderline);
    EXPECT_EQ(mail->font.color, RGB(0, 0, 255));
    EXPECT_TRUE(f.Click("IndirizzoWeb"));
    EXPECT_TRUE(f.Click("URLLabel1"));
    EXPECT_FALSE(f.Click("Label1"));  // a plain label takes no click
    EXPECT_FALSE(f.Ended());
  });
  box.ShowModal(0);
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{std::string("mailto:") + kSupportMail, kProductPage}));
}

TEST_F(AboutBoxTest, TheCreditsScrollUpAndStartAgainOnceTheLastLineHasGone) {
  TFormAboutBox box(program.Settings().Lingua);
  Play([&](host::HostForm& f) {
    EXPECT_EQ(f.TimerInterval("TmrCrediti"), 40u);
    const Bitmap first = f.PaintControl("Crediti", PaintState{});
    EXPECT_EQ(box.CreditsOffset(), 0);
    // At the start the lines wait below the panel: nothing but its face and frame.
    const Color face = hp.Canvases().SysColor(15);
    EXPECT_EQ(first.At(70, 44), face);
    for (int i = 0; i < 60; ++i)
      f.Tick("TmrCrediti");
    EXPECT_EQ(box.CreditsOffset(), 60);
    const Bitmap later = f.PaintControl("Crediti", PaintState{});
    EXPECT_NE(later, first);
    // The whole travel: the panel's height and every line's (8 lines of the
    // bold 8-point host font, 13 pixels each); then from the start again.
    const int travel = 89 + 8 * 13;
    for (int i = 60; i < travel - 1; ++i)
      f.Tick("TmrCrediti");
    EXPECT_EQ(box.CreditsOffset(), travel - 1);
    f.Tick("TmrCrediti");
    EXPECT_EQ(box.CreditsOffset(), 0);
    f.Click("OKButton");
  });
  EXPECT_EQ(box.ShowModal(0), 1);
}

TEST_F(AboutBoxTest, TheLogoIsTheBarDockedOnASky) {
  auto canvas = hp.Canvases().CreateBitmapCanvas(138, 87);
  PaintLogo(*canvas);
  const Bitmap logo = canvas->ToBitmap();
  EXPECT_EQ(logo.At(137, 2), RGB(0x24, 0x3B, 0x5E));  // the bar's strip
  EXPECT_EQ(logo.At(8, 8), RGB(0xF2, 0x9A, 0x2E));    // its first button
  EXPECT_EQ(logo.At(2, 84), RGB(0xEE, 0xF3, 0xFA));   // the sky
  EXPECT_EQ(logo.At(69, 54), RGB(0x24, 0x3B, 0x5E));  // the name, centred
}

}  // namespace
}  // namespace tov
