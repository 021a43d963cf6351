#include "forms/SettingsForm.h"

#include "forms/FormResource.h"

namespace tov {

namespace {

Component& AddButton(Component& parent, const char* name, const char* caption, int left, const char* hint) {
  Component& b = AddDesigned(parent, ComponentKind::Button, name, Rect{left, 2, left + 98, 34}, caption);
  b.properties["Font.Style"] = "[fsBold]";
  b.hint = hint;
  b.Bind("OnClick", std::string(name) + "Click");
  return b;
}

}  // namespace

std::unique_ptr<Component> BuildSettingsForm() {
  // The bounds are the client area: with a sizeable frame the window is
  // about 580 by 423.
  auto form = MakeComponent(ComponentKind::Form, "FormImpostazioni", "Impostazioni");
  form->bounds = Rect{0, 0, 564, 385};
  form->properties["Position"] = "poScreenCenter";
  form->properties["Font.Name"] = "MS Sans Serif";
  form->Bind("OnShow", "FormShow");
  form->Bind("OnClose", "FormClose");

  Component& left = AddAligned(*form, ComponentKind::Panel, "PnlSinistro", Rect{0, 0, 182, 350}, "alLeft");
  Component& treeTitle = AddAligned(left, ComponentKind::Panel, "Panel1", Rect{0, 0, 182, 25}, "alTop");
  AddAligned(treeTitle, ComponentKind::FlatPanel, "PnlColAlbero", Rect{0, 0, 182, 25}, "alClient");
  Component& tree = AddAligned(left, ComponentKind::TreeView, "AlberoImpostazioni", Rect{0, 25, 182, 350}, "alClient");
  tree.properties["ReadOnly"] = "True";
  tree.properties["HideSelection"] = "False";
  tree.properties["RightClickSelect"] = "True";
  tree.Bind("OnChange", "AlberoImpostazioniChange");
  tree.Bind("OnEditing", "AlberoImpostazioniEditing");

  Component& splitter = AddAligned(*form, ComponentKind::Splitter, "Splitter", Rect{182, 0, 185, 350}, "alLeft");
  splitter.properties["MinSize"] = "60";

  Component& work = AddAligned(*form, ComponentKind::Panel, "PnlLavoro", Rect{185, 0, 564, 350}, "alClient");
  Component& title = AddAligned(work, ComponentKind::Panel, "PnlTtlSezione", Rect{0, 0, 379, 25}, "alTop");
  Component& strip = AddAligned(title, ComponentKind::FlatPanel, "PnlColSezione", Rect{0, 0, 379, 25}, "alClient");
  Component& caption = AddAligned(strip, ComponentKind::Label, "LblSezione", Rect{1, 1, 378, 24}, "alClient");
  caption.properties["Font.Style"] = "[fsBold]";
  caption.properties["Font.Size"] = "10";
  Component& hintPanel = AddAligned(work, ComponentKind::Panel, "PnlHint", Rect{0, 25, 379, 121}, "alTop");
  hintPanel.properties["BorderWidth"] = "4";
  AddAligned(hintPanel, ComponentKind::HintBox, "HintBox", Rect{4, 4, 375, 92}, "alClient");
  Component& scroll =
      AddAligned(work, ComponentKind::ScrollBox, "ScrollImpostazioni", Rect{0, 121, 379, 350}, "alClient");
  Component& page = AddDesigned(scroll, ComponentKind::Panel, "PnlImpostazioni", Rect{0, 0, 360, 200});
  page.properties["BevelOuter"] = "bvNone";

  Component& bottom = AddAligned(*form, ComponentKind::Panel, "Panel2", Rect{0, 350, 564, 385}, "alBottom");
  Component& right = AddAligned(bottom, ComponentKind::Panel, "AllineaPulsanti", Rect{350, 0, 564, 35}, "alRight");
  AddButton(right, "BtnAnnulla", "Annulla", 6, "Chiude la finestra, senza effettuare modifiche.").properties["Cancel"] =
      "True";
  AddButton(right, "BtnConferma", "Conferma", 110, "Salva le impostazioni e chiude la finestra").properties["Default"] =
      "True";

  AddDesigned(*form, ComponentKind::Other, "SceltaColore", Rect{});
  AddDesigned(*form, ComponentKind::FormPlacement, "FormPlacement", Rect{});
  return form;
}

}  // namespace tov
