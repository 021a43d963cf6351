#include "forms/AboutBoxForm.h"

#include "forms/FormResource.h"

namespace tov {

std::unique_ptr<Component> BuildAboutBoxForm() {
  auto form = MakeComponent(ComponentKind::Form, "FormAboutBox", "Autore");
  form->bounds = Rect{0, 0, 299, 269};
  form->properties["BorderStyle"] = "bsDialog";
  form->properties["Position"] = "poScreenCenter";
  form->properties["KeyPreview"] = "True";
  form->Bind("OnShow", "FormShow");

  // The upper part: the logo in a lowered frame, the credits beside it.
  Component& frame = AddDesigned(*form, ComponentKind::Panel, "PnlLogo", Rect{5, 5, 145, 94});
  frame.properties["BevelOuter"] = "bvLowered";
  AddDesigned(frame, ComponentKind::Image, "Image1", Rect{1, 1, 139, 88});
  Component& credits = AddDesigned(*form, ComponentKind::ScrollText, "Crediti", Rect{154, 5, 294, 94});
  credits.properties["BevelOuter"] = "bvLowered";
  Component& timer = AddDesigned(*form, ComponentKind::Timer, "TmrCrediti", Rect{});
  timer.properties["Interval"] = "40";
  timer.Bind("OnTimer", "TmrCreditiTimer");

  // The lower part: where to write, the donation note, the product page.
  AddDesigned(*form, ComponentKind::Label, "Label1", Rect{8, 106, 290, 120}, "Per eventuali segnalazioni scrivere a:");
  Component& mail = AddDesigned(*form, ComponentKind::Label, "IndirizzoWeb", Rect{24, 122, 290, 136});
  mail.Bind("OnClick", "IndirizzoWebClick");
  // Its lines wrap where the system's font is wider than the one it was
  // laid out for, rather than being cut at the window's edge.
  Component& note =
      AddDesigned(*form, ComponentKind::Label, "Label2", Rect{8, 146, 292, 200},
                  "Se si desidera fare una donazione, fare riferimento\r\nall'indirizzo web sotto riportato, cliccando "
                  "sull'icona \r\n'Donate', in baso a sinistra nella pagina visualizzata.");
  note.properties["WordWrap"] = "True";
  Component& page = AddDesigned(*form, ComponentKind::Label, "URLLabel1", Rect{24, 206, 290, 220});
  page.Bind("OnClick", "URLLabel1Click");

  Component& ok = AddDesigned(*form, ComponentKind::Button, "OKButton", Rect{112, 236, 187, 261}, "OK");
  ok.properties["Default"] = "True";
  ok.properties["ModalResult"] = "1";
  return form;
}

}  // namespace tov
