#include "forms/ExceptMessageForm.h"

#include "forms/FormResource.h"

namespace tov {

std::unique_ptr<Component> BuildExceptMessageForm() {
  auto form = MakeComponent(ComponentKind::Form, "FormExceptMessage", "Errore nell'applicazione");
  form->bounds = Rect{0, 0, 429, 444};
  form->properties["Position"] = "poScreenCenter";
  form->Bind("OnClose", "FormClose");

  Component& help = AddAligned(*form, ComponentKind::HintBox, "Aiuto", Rect{0, 0, 429, 160}, "alTop");
  help.lines = {
      "Si \u00E8 verificato un errore inatteso nell'applicazione. L'errore rappresenta una anomalia del programma che "
      "pu\u00F2 derivare da incongruenze ed omissioni nel codice, manomissioni volontarie o involantarie dei file di "
      "supporto o da confilitti non previsti con il sistema ospitante.",
      "",
      "<b>Assistenza:</b> Ai fini di garantire una pi\u00F9 rapida comprensione ed analisi del problema verificatosi "
      "\u00E8 possibile salvare le informazioni dell'errore in un file di testo tramite il pulsante <b>Salva</b> e "
      "inviarlo via mail all'assistenza Brenvoll.  Se la connessione internet \u00E8 attiva, \u00E8 possibile inviare "
      "direttamente il messaggio di errore premendo il pulsante <b>Invia</b>.",
  };
  Component& title =
      AddAligned(*form, ComponentKind::Label, "TitoloErrore", Rect{0, 160, 429, 178}, "alTop", " Info errore");
  title.properties["Font.Style"] = "[fsBold]";

  Component& buttons = AddAligned(*form, ComponentKind::Panel, "PnlPulsanti", Rect{0, 409, 429, 444}, "alBottom");
  Component& close = AddDesigned(buttons, ComponentKind::Button, "BtnChiudi", Rect{8, 5, 98, 30}, "Chiudi");
  close.properties["Cancel"] = "True";
  close.Bind("OnClick", "BtnChiudiClick");
  AddDesigned(buttons, ComponentKind::Button, "BtnInvia", Rect{235, 5, 325, 30}, "Invia")
      .Bind("OnClick", "BtnInviaClick");
  Component& save = AddDesigned(buttons, ComponentKind::Button, "BtnSalva", Rect{331, 5, 421, 30}, "Salva");
  save.properties["Font.Style"] = "[fsBold]";
  save.properties["Default"] = "True";
  save.Bind("OnClick", "BtnSalvaClick");

  Component& picture = AddAligned(*form, ComponentKind::Panel, "PnlImmagine", Rect{0, 355, 429, 409}, "alBottom");
  picture.Bind("OnResize", "PnlImmagineResize");
  AddDesigned(picture, ComponentKind::CheckBox, "ChkAllegaImmagine", Rect{8, 4, 300, 21}, "Non allegare immagine");
  Component& file = AddDesigned(picture, ComponentKind::Edit, "EditS_FileImmagine", Rect{8, 26, 396, 47});
  file.properties["ReadOnly"] = "True";
  file.Bind("OnDblClick", "EditS_FileImmagineDblClick");
  AddDesigned(picture, ComponentKind::Button, "BtnMostraImmagine", Rect{399, 25, 422, 48}, "...")
      .Bind("OnClick", "BtnMostraImmagineClick");

  Component& memo = AddAligned(*form, ComponentKind::Memo, "MemoErrore", Rect{0, 178, 429, 355}, "alClient");
  memo.properties["ReadOnly"] = "True";
  memo.properties["WordWrap"] = "False";
  memo.properties["Font.Name"] = "Courier New";
  return form;
}

}  // namespace tov
