#include "forms/ToviraMainForm.h"

#include "base/Product.h"

namespace tov {

namespace {

Component& Item(Component& parent, const char* name, const char* caption, const char* handler = nullptr) {
  Component& c = parent.Add(MakeComponent(ComponentKind::MenuItem, name, caption));
  if (handler) c.Bind("OnClick", handler);
  return c;
}

}  // namespace

std::unique_ptr<Component> BuildToviraMainForm() {
  auto form = MakeComponent(ComponentKind::Form, "FormToviraMain", kProductName);
  form->Bind("OnShow", "FormShow");
  form->Bind("OnClose", "FormClose");
  form->Bind("OnDestroy", "FormDestroy");
  form->Bind("OnPaint", "FormPaint");
  form->Bind("OnMouseMove", "FormMouseMove");

  Component& menu = form->Add(MakeComponent(ComponentKind::PopupMenu, "PopupMenu"));
  menu.Bind("OnPopup", "PopupMenuPopup");
  Component& folder = Item(menu, "PopFolder", "Cartella origine");
  Item(folder, "PopChooseFolder", "Scegli cartella origine", "PopFolderClick");
  Item(folder, "PopOpenFolder", "Apri cartella origine", "PopOpenFolderClick");
  Item(folder, "N4", "-");
  Component& refresh = Item(folder, "PopRefreshFolder", "Aggiorna da contenuto");
  Item(refresh, "PopRefreshFolderClean", "Aggiorna e pulisci", "PopRefreshFolderCleanClick");
  Item(refresh, "PopRefreshFolderKeep", "Aggiorna e mantieni", "PopRefreshFolderKeepClick");
  Component& dock = Item(menu, "BtnDock", "Aggancia");
  Item(dock, "PopDockTop", "In alto", "PopDockTopClick");
  Item(dock, "PopDockBottom", "In basso", "PopDockBottomClick");
  Item(dock, "PopDockLeft", "A sinistra", "PopDockLeftClick");
  Item(dock, "PopDockRight", "A destra", "PopDockRightClick");
  Item(dock, "N1", "-");
  Item(dock, "PopUnlock", "Sblocca", "BtnUnlockClick");
  Item(menu, "PopSchermo", "Schermo");
  Item(menu, "PopLayoutPulsanti", "Layout pulsanti", "PopLayoutPulsantiClick");
  Item(menu, "N3", "-");
  Item(menu, "PopSettings", "Impostazioni", "PopSettingsClick");
  Item(menu, "PopLingue", "Lingue");
  Item(menu, "N2", "-");
  Item(menu, "PopSalvaTema", "Salva come tema", "PopSalvaTemaClick");
  Item(menu, "PopTemi", "Temi");
  Item(menu, "N7", "-");
  Item(menu, "PopAbout", "Autore", "PopAboutClick");
  Item(menu, "N5", "-");
  Item(menu, "PopClose", "Chiudi", "PopCloseClick");

  Component& buttons = form->Add(MakeComponent(ComponentKind::PopupMenu, "PopupButtonMenu"));
  Item(buttons, "PopBtnSpostaPrima", "Sposta prima", "PopBtnSpostaPrimaClick");
  Item(buttons, "PopBtnSpostaDopo", "Sposta dopo", "PopBtnSpostaDopoClick");
  Item(buttons, "N6", "-");
  Item(buttons, "PopBtnMenuSistema", "Menu di sistema", "PopBtnMenuSistemaClick");
  Item(buttons, "N26", "-");
  Item(buttons, "PopBtnRinomina", "Rinomina", "PopBtnRinominaClick");
  Item(buttons, "PopBtnElimina", "Elimina", "PopBtnEliminaClick");
  form->Add(MakeComponent(ComponentKind::PopupMenu, "TaskMenu"));
  return form;
}

}  // namespace tov
