// libFuzzer target for language files: the input is a .lng file. Loading its
// message table and translating a small form of every translated class from
// it must not crash; the file exists, so no error box is shown; every key of
// the message table answers a text that is not empty.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/ProgramFolders.h"
#include "fuzz/FuzzPlatform.h"
#include "platform/Platform.h"
#include "platform/host/HostDialogs.h"
#include "text/LanguageFiles.h"
#include "text/Texts.h"

namespace {

using namespace tov;

void BuildForm(Component& form) {
  form.caption = "Prova";
  Component& page = form.Add(ComponentKind::Panel, "PnlPagina");
  page.Add(ComponentKind::Label, "LblInfo").caption = "Info";
  page.Add(ComponentKind::Button, "BtnOk").caption = "OK";
  Component& combo = page.Add(ComponentKind::ComboBox, "CmbLato");
  combo.items = {"Sopra", "Sotto"};
  combo.itemIndex = 1;
  page.Add(ComponentKind::HintBox, "HintAiuto").lines = {"riga"};
  page.Add(ComponentKind::ScrollText, "TxtScorre").lines = {"riga"};
  page.Add(ComponentKind::Edit, "EditNome").caption = "nome";
  page.Add(ComponentKind::CheckBox, "ChkSi").caption = "Si";
  page.Add(ComponentKind::ListView, "LvTemi").columns = {{"Nome", 80}, {"Data", 60}};
  Component& menu = form.Add(ComponentKind::PopupMenu, "PopMenu");
  menu.Add(ComponentKind::MenuItem, "PopLingua").caption = "Lingua";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::HostPlatform& platform = fuzz::Platform();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!Files().WriteFile(LanguageFilePath("Fuzz"), bytes)) std::abort();
  platform.Dialogs().shown.clear();

  Component form{ComponentKind::Form, "FormProva"};
  BuildForm(form);
  ApplyLanguage(form, "Fuzz");
  if (!platform.Dialogs().shown.empty()) std::abort();
  if (!HasMessageTable()) std::abort();
  for (const std::string& entry : MessageTable()) {
    const size_t eq = entry.find('=');
    if (eq != std::string::npos && LangText(entry.substr(0, eq), "-").empty()) std::abort();
  }
  AddLanguageMenuItems(*form.Find("PopLingua"), "LinguaClick");
  FreeMessageTable();
  return 0;
}
