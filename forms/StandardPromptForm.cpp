#include "forms/StandardPromptForm.h"

#include <string>

#include "forms/FormResource.h"

namespace tov {

namespace {

Component& AddButton(Component& parent, const char* name, const char* caption, int left, int modalResult) {
  Component& b = AddDesigned(parent, ComponentKind::Button, name, Rect{left, 2, left + 98, 34}, caption);
  b.properties["Font.Style"] = "[fsBold]";
  b.properties["ModalResult"] = std::to_string(modalResult);
  return b;
}

}  // namespace

std::unique_ptr<Component> BuildStandardPromptForm() {
  // The form's bounds are its client area; the dialog border comes on top.
  auto form = MakeComponent(ComponentKind::Form, "FormStandardPrompt", "Input");
  form->bounds = Rect{0, 0, 325, 83};
  form->properties["BorderStyle"] = "bsDialog";
  form->properties["Position"] = "poScreenCenter";
  form->Bind("OnShow", "FormShow");

  Component& work = AddDesigned(*form, ComponentKind::Panel, "PannelloLavoro", Rect{0, 0, 325, 48});
  work.properties["Align"] = "alClient";
  work.properties["BevelInner"] = "bvRaised";
  work.properties["BevelOuter"] = "bvLowered";
  AddDesigned(work, ComponentKind::Label, "LblCampo", Rect{10, 14, 80, 27});
  AddDesigned(work, ComponentKind::Edit, "EditCampo", Rect{88, 11, 310, 32});

  Component& strip = AddDesigned(*form, ComponentKind::Panel, "PannelloPulsanti", Rect{0, 48, 325, 83});
  strip.properties["Align"] = "alBottom";
  strip.properties["BevelOuter"] = "bvNone";
  Component& right = AddDesigned(strip, ComponentKind::Panel, "Panel2", Rect{122, 0, 325, 35});
  right.properties["Align"] = "alRight";
  right.properties["BevelOuter"] = "bvNone";
  // Confirm comes first in the tab order, though it stands on the right.
  Component& ok = AddButton(right, "BtnConferma", "Conferma", 104, kPromptConfirmed);
  ok.properties["Default"] = "True";
  AddButton(right, "BtnAnnulla", "Annulla", 2, kPromptCancelled);
  return form;
}

}  // namespace tov
