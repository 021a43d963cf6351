#include "dialogs/StandardPrompt.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

#include "controls/Appearance.h"
#include "platform/Platform.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormRuntime.h"

namespace tov {

TFormStandardPrompt* FormStandardPrompt = nullptr;

namespace {

// The prompts the application owns: made by CreatePromptForm, freed by
// PromptText (or with the process).
std::vector<std::unique_ptr<TFormStandardPrompt>>& OwnedPrompts() {
  static std::vector<std::unique_ptr<TFormStandardPrompt>> prompts;
  return prompts;
}

void FreePrompt(TFormStandardPrompt* form) {
  if (FormStandardPrompt == form) FormStandardPrompt = nullptr;
  auto& owned = OwnedPrompts();
  auto it = std::find_if(owned.begin(), owned.end(), [form](const auto& p) { return p.get() == form; });
  if (it != owned.end()) owned.erase(it);
}

}  // namespace

TFormStandardPrompt::TFormStandardPrompt() : TFormStandardPrompt(BuildStandardPromptForm()) {}

TFormStandardPrompt::TFormStandardPrompt(std::unique_ptr<Component> form) : form_(std::move(form)) {
  if (!form_) throw std::runtime_error("FormStandardPrompt: no form resource");
  lblCampo_ = &Need("LblCampo");
  editCampo_ = &Need("EditCampo");
  btnConferma_ = &Need("BtnConferma");
  btnAnnulla_ = &Need("BtnAnnulla");
  form_->SetHandler("FormShow", [this](Component&) { FormShow(); });
  SetButtonPicture(*btnConferma_, "BtnConferma", 2);
  SetButtonPicture(*btnAnnulla_, "BtnAnnulla", 2);
}

Component& TFormStandardPrompt::Need(const char* name) { return form_->Need(name); }

void TFormStandardPrompt::FormShow() {
  const std::string& language = language_;
  if (language.empty()) return;
  // A language file may name these texts too; the caller's win.
  const std::string caption = form_->caption, label = lblCampo_->caption, text = editCampo_->caption;
  ApplyLanguage(*form_, language);
  form_->caption = caption;
  lblCampo_->caption = label;
  editCampo_->caption = text;
  form_->Changed();
  lblCampo_->Changed();
  editCampo_->Changed();
}

int TFormStandardPrompt::ShowModal(WindowId owner) { return ShowModalForm(*form_, owner); }

TFormStandardPrompt* CreatePromptForm(const std::string& language, PromptFormResource resource) {
  try {
    auto form = std::make_unique<TFormStandardPrompt>(resource());
    form->SetLanguage(language);
    FormStandardPrompt = form.get();
    OwnedPrompts().push_back(std::move(form));
    return FormStandardPrompt;
  } catch (const std::exception& e) {
    // As the application shows an exception no handler caught.
    AppMessageBox(e.what(), AppTitle(), MB_OK | MB_ICONERROR);
    return nullptr;
  }
}

std::string PromptText(TFormStandardPrompt* form, const std::string& caption, const std::string& label,
                       WindowId owner) {
  if (!form) return {};
  // Freed however the dialog ends, an exception included.
  struct Release {
    TFormStandardPrompt* form;
    ~Release() { FreePrompt(form); }
  } release{form};
  form->Form().caption = caption;
  form->LblCampo().caption = label;
  if (!owner) owner = Windows().ActiveWindow();
  const int result = form->ShowModal(owner);
  return result == kPromptConfirmed ? form->EditCampo().caption : std::string();
}

std::string PromptCaptions::Caption() const { return LangText(captionKey, captionDefault); }
std::string PromptCaptions::Label() const { return LangText(labelKey, labelDefault); }

std::string AskText(const PromptCaptions& texts, const std::string& initial, WindowId owner,
                    const std::string& language) {
  TFormStandardPrompt* form = CreatePromptForm(language);
  if (!form) return {};
  form->EditCampo().caption = initial;
  return PromptText(form, texts.Caption(), texts.Label(), owner);
}

}  // namespace tov
