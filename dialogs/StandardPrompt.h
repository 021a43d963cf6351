// The value prompt: a small modal dialog that asks for one line of text (a
// button's new caption, the name of a theme or of a button layout).
//
//   TFormStandardPrompt* f = CreatePromptForm(language);
//   if (f) f->EditCampo().caption = current;  // optional initial text
//   std::string text = PromptText(f, caption, label);
//
// An empty answer means the user cancelled or confirmed an empty field; the
// form is freed when PromptText returns, so each question creates a new one.
#pragma once
#include <memory>
#include <string>

#include "forms/Component.h"
#include "forms/StandardPromptForm.h"
#include "platform/Shell.h"

namespace tov {

class TFormStandardPrompt {
 public:
  // The form from its resource; loads the pictures of both buttons (two
  // glyphs each: normal and disabled). Throws std::runtime_error when the
  // resource lacks one of the components the prompt works with.
  TFormStandardPrompt();
  // The same on another description of the form.
  explicit TFormStandardPrompt(std::unique_ptr<Component> form);
  TFormStandardPrompt(const TFormStandardPrompt&) = delete;
  TFormStandardPrompt& operator=(const TFormStandardPrompt&) = delete;

  Component& Form() { return *form_; }
  Component& LblCampo() { return *lblCampo_; }
  Component& EditCampo() { return *editCampo_; }
  Component& BtnConferma() { return *btnConferma_; }
  Component& BtnAnnulla() { return *btnAnnulla_; }

  // The language FormShow applies ("": the form's own texts).
  void SetLanguage(const std::string& language) { language_ = language; }
  // OnShow: the language set, unless its name is empty. The caption, the
  // label and the field keep the texts the caller gave them.
  void FormShow();
  // Shows the form modally; answers its modal result.
  int ShowModal(WindowId owner);

 private:
  Component& Need(const char* name);
  std::unique_ptr<Component> form_;
  Component* lblCampo_ = nullptr;
  Component* editCampo_ = nullptr;
  Component* btnConferma_ = nullptr;
  Component* btnAnnulla_ = nullptr;
  std::string language_;
};

// The prompt CreatePromptForm made last; null once PromptText freed it.
extern TFormStandardPrompt* FormStandardPrompt;

using PromptFormResource = std::unique_ptr<Component> (*)();
// A new prompt owned by the application, also kept in FormStandardPrompt,
// shown in the language given ("": the form's own texts, as a caller that
// knows no language has them). When its creation fails, the error is shown as the application shows an
// exception that nothing caught, and the answer is null.
TFormStandardPrompt* CreatePromptForm(const std::string& language = {},
                                      PromptFormResource resource = BuildStandardPromptForm);

// Sets the window caption and the field's label, shows the prompt modally
// (owned by owner, the active window when 0) and answers the field's text
// exactly as typed when it was confirmed, else "". A prompt made by
// CreatePromptForm is freed before this returns (FormStandardPrompt is
// cleared with it); a null prompt asks nothing and answers "".
std::string PromptText(TFormStandardPrompt* form, const std::string& caption, const std::string& label,
                       WindowId owner = 0);

// The caption and label of one use of the prompt, looked up by key with
// their defaults.
struct PromptCaptions {
  const char* captionKey;
  const char* captionDefault;
  const char* labelKey;
  const char* labelDefault;
  std::string Caption() const;
  std::string Label() const;
};

// Renaming a bar button.
inline constexpr PromptCaptions kPromptNuovaCaption{"Messages.TtlNuovaCaption", "Digitare l'etichetta del pulsante",
                                                    "Messages.CaptionNuovaCaption", "Etichetta"};
// Saving the bar's appearance as a theme.
inline constexpr PromptCaptions kPromptSalvaTema{"Messages.TtlSalvaTema", "Digitare il nome del tema",
                                                 "Messages.CaptionSalvaTema", "Tema"};
// Saving a button layout.
inline constexpr PromptCaptions kPromptSalvaModello{"Messages.TtlSalvaModello", "Digitare il nome del modello",
                                                    "Messages.CaptionSalvaModello", "Nome"};

// CreatePromptForm in the language given, the initial text, then PromptText
// with those captions.
std::string AskText(const PromptCaptions& texts, const std::string& initial, WindowId owner,
                    const std::string& language);

}  // namespace tov
