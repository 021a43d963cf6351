// The value prompt: what it answers, how it is translated, its pictures, and
// that it never outlives the question.
#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/Appearance.h"
#include "dialogs/StandardPrompt.h"
#include "files/ProgramFolders.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "tests/ImageSamples.h"
#include "tests/ShippedFiles.h"
#include "text/LanguageFiles.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct StandardPromptTest : ::testing::Test {
  ~StandardPromptTest() override {
    FreeMessageTable();
    FreePictureCache();
  }
  // The user's part in the next prompt.
  void Play(std::function<void(host::HostForm&)> script) { hp.Windows().modalScripts.push_back(std::move(script)); }
  // A prompt answered by typing text and pressing the named button.
  std::string Answer(const std::string& text, const char* button) {
    Play([=](host::HostForm& f) {
      EXPECT_TRUE(f.Type("EditCampo", text));
      f.Click(button);
    });
    return PromptText(CreatePromptForm(), "Titolo", "Campo");
  }
  host::HostPlatform hp;
};

TEST_F(StandardPromptTest, ConfirmAnswersTheTextExactlyAsTypedAndFreesTheForm) {
  Play([&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Titolo");
    EXPECT_EQ(f.Text("LblCampo"), "Campo");
    EXPECT_EQ(f.Text("EditCampo"), "");
    EXPECT_EQ(f.FocusedName(), "EditCampo");
    f.Type("EditCampo", "  Nuovo nome\t ");
    f.Click("BtnConferma");
  });
  hp.Windows().SetActive(0x4242);
  TFormStandardPrompt* form = CreatePromptForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(FormStandardPrompt, form);
  EXPECT_EQ(PromptText(form, "Titolo", "Campo"), "  Nuovo nome\t ");
  EXPECT_EQ(FormStandardPrompt, nullptr);
  EXPECT_EQ(hp.Windows().shownForms, std::vector<std::string>{"FormStandardPrompt"});
  EXPECT_EQ(hp.Windows().modalOwners, std::vector<WindowId>{0x4242});
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(StandardPromptTest, EmptyConfirmCancelAndTheCloseBoxAllAnswerNothing) {
  EXPECT_EQ(Answer("", "BtnConferma"), "");
  EXPECT_EQ(Answer("scritto", "BtnAnnulla"), "");
  // No script: the window is closed with its close box.
  TFormStandardPrompt* form = CreatePromptForm();
  form->EditCampo().caption = "scritto";
  EXPECT_EQ(PromptText(form, "Titolo", "Campo"), "");
  EXPECT_EQ(hp.Windows().shownForms.size(), 3u);
  EXPECT_EQ(FormStandardPrompt, nullptr);
  // Only the confirm button ends with 1; cancel ends with 2.
  TFormStandardPrompt again;
  Play([](host::HostForm& f) { f.Click("BtnConferma"); });
  EXPECT_EQ(again.ShowModal(0), kPromptConfirmed);
  Play([](host::HostForm& f) { f.Click("BtnAnnulla"); });
  EXPECT_EQ(again.ShowModal(0), kPromptCancelled);
  // Enter presses the default button, the confirm one.
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.DefaultButtonName(), "BtnConferma");
    EXPECT_TRUE(f.PressEnter());
  });
  EXPECT_EQ(again.ShowModal(0), kPromptConfirmed);
  EXPECT_EQ(again.BtnConferma().Property("Default"), "True");
  EXPECT_NE(again.BtnAnnulla().Property("Default"), "True");
}

TEST_F(StandardPromptTest, CallersCaptionsAndInitialTextAreShownAndTheInitialTextComesBack) {
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Digitare l'etichetta del pulsante");
    EXPECT_EQ(f.Text("LblCampo"), "Etichetta");
    EXPECT_EQ(f.Text("EditCampo"), "Vecchia etichetta");
    f.Click("BtnConferma");
  });
  EXPECT_EQ(AskText(kPromptNuovaCaption, "Vecchia etichetta", 0, ""), "Vecchia etichetta");
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Digitare il nome del tema");
    EXPECT_EQ(f.Text("LblCampo"), "Tema");
    f.Click("BtnAnnulla");
  });
  EXPECT_EQ(AskText(kPromptSalvaTema, "Blu", 0, ""), "");
  EXPECT_EQ(kPromptSalvaModello.Caption(), "Digitare il nome del modello");
  EXPECT_EQ(kPromptSalvaModello.Label(), "Nome");
}

TEST_F(StandardPromptTest, WithoutALanguageNameNoFileIsReadAndTheDesignTextsStay) {
  tov::testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira");
  // What an empty name would open, were it looked up.
  ASSERT_TRUE(
      Files().WriteFile(LanguageFilePath(""),
                        "*Messages.TtlSalvaTema=Sbagliato\r\nFormStandardPrompt.BtnConferma.Caption=Sbagliato\r\n"));
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.Text("BtnConferma"), "Conferma");
    EXPECT_EQ(f.Text("BtnAnnulla"), "Annulla");
  });
  EXPECT_EQ(AskText(kPromptSalvaTema, {}, 0, ""), "");
  EXPECT_FALSE(HasMessageTable());
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(StandardPromptTest, TheShippedEnglishFileTranslatesTheButtonsButNotTheCallersTexts) {
  tov::testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira");
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.Text("BtnConferma"), "Confirm");
    EXPECT_EQ(f.Text("BtnAnnulla"), "Cancel");
    EXPECT_EQ(f.Frame().caption, "Titolo");
    f.Click("BtnConferma");
  });
  TFormStandardPrompt* form = CreatePromptForm("English");
  form->EditCampo().caption = "x";
  EXPECT_EQ(PromptText(form, "Titolo", "Campo"), "x");
  // The texts for the next question now come in English.
  EXPECT_EQ(kPromptSalvaTema.Caption(), "Type the name of the theme");
  EXPECT_EQ(kPromptNuovaCaption.Label(), "Label");
  EXPECT_TRUE(hp.Dialogs().shown.empty());

  // A file that names the caption, the label and the field keeps them all
  // as the caller set them.
  ASSERT_TRUE(Files().WriteFile(LanguageFilePath("Altro"),
                                "FormStandardPrompt.FormStandardPrompt.Caption=Input\r\n"
                                "FormStandardPrompt.LblCampo.Caption=Valore\r\n"
                                "FormStandardPrompt.EditCampo.Caption=\r\n"
                                "FormStandardPrompt.EditCampo.Caption=vuoto\r\n"
                                "FormStandardPrompt.BtnAnnulla.Caption=Lascia\r\n"));
  Play([](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Rinomina");
    EXPECT_EQ(f.Text("LblCampo"), "Nome");
    EXPECT_EQ(f.Text("BtnAnnulla"), "Lascia");
    f.Click("BtnConferma");
  });
  form = CreatePromptForm("Altro");
  form->EditCampo().caption = "iniziale";
  EXPECT_EQ(PromptText(form, "Rinomina", "Nome"), "iniziale");
}

TEST_F(StandardPromptTest, TheButtonsAskForTheirPicturesWithTwoGlyphs) {
  tov::testing::BmpLayout bmp;
  bmp.width = 4;
  bmp.height = 2;
  bmp.values = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(Files().WriteFile(AppSubDir("pics") + "BtnConferma.bmp", tov::testing::BmpFile(bmp)));
  TFormStandardPrompt form;
  EXPECT_EQ(form.BtnConferma().Property(kGlyphProperty), "BtnConferma");
  EXPECT_EQ(form.BtnConferma().Property(kNumGlyphsProperty), "2");
  EXPECT_NE(CachedPicture("BtnConferma"), nullptr);
  // No file: no glyph, and nothing else breaks.
  EXPECT_EQ(form.BtnAnnulla().Property(kGlyphProperty), "");
  EXPECT_EQ(form.BtnAnnulla().Property(kNumGlyphsProperty), "2");
}

std::unique_ptr<Component> ResourceWithoutField() {
  auto form = BuildStandardPromptForm();
  Component* edit = form->Find("EditCampo");
  edit->Parent()->Remove(*edit);
  return form;
}

std::unique_ptr<Component> ResourceThatFails() { throw std::runtime_error("Risorsa non trovata"); }

TEST_F(StandardPromptTest, AFormThatCannotBeCreatedShowsTheErrorAndAsksNothing) {
  for (PromptFormResource resource : {ResourceWithoutField, ResourceThatFails}) {
    hp.Dialogs().shown.clear();
    EXPECT_EQ(CreatePromptForm({}, resource), nullptr);
    EXPECT_EQ(FormStandardPrompt, nullptr);
    ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
    EXPECT_EQ(hp.Dialogs().shown[0].caption, "Tovira");
    EXPECT_EQ(hp.Dialogs().shown[0].style, uint32_t(MB_OK | MB_ICONERROR));
  }
  EXPECT_NE(hp.Dialogs().shown[0].text.find("Risorsa non trovata"), std::string::npos);
  EXPECT_EQ(PromptText(nullptr, "Titolo", "Campo"), "");
  EXPECT_TRUE(hp.Windows().shownForms.empty());
}

TEST_F(StandardPromptTest, TheFormIsFreedEvenWhenTheDialogFails) {
  Play([](host::HostForm&) { throw std::runtime_error("finestra persa"); });
  TFormStandardPrompt* form = CreatePromptForm();
  EXPECT_THROW(PromptText(form, "Titolo", "Campo"), std::runtime_error);
  EXPECT_EQ(FormStandardPrompt, nullptr);
  // A prompt made by its caller stays the caller's.
  TFormStandardPrompt own;
  own.EditCampo().caption = "mio";
  Play([](host::HostForm& f) { f.Click("BtnConferma"); });
  EXPECT_EQ(PromptText(&own, "Titolo", "Campo"), "mio");
  EXPECT_EQ(own.Form().caption, "Titolo");
}

}  // namespace
}  // namespace tov
