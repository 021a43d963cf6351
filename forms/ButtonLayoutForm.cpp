#include "forms/ButtonLayoutForm.h"

#include <initializer_list>
#include <string>
#include <tuple>

#include "forms/FormResource.h"

namespace tov {

namespace {

Component& Panel(Component& parent, const char* name, Rect r, const char* align = "") {
  Component& p = AddDesigned(parent, ComponentKind::Panel, name, r);
  p.properties["BevelOuter"] = "bvNone";
  if (*align) p.properties["Align"] = align;
  return p;
}

Component& Bound(Component& c, const char* event, const char* handler) {
  c.Bind(event, handler);
  return c;
}

// A flat picture button of the strip beside the list.
Component& StripButton(Component& parent, const char* name, int top, const char* hint) {
  Component& b = AddDesigned(parent, ComponentKind::PngButton, name, Rect{0, top, 28, top + 27});
  b.properties["Flat"] = "True";
  b.hint = hint;
  return Bound(b, "OnClick", (std::string(name) + "Click").c_str());
}

Component& Labelled(Component& parent, const char* label, const char* labelText, int y, ComponentKind kind,
                    const char* name, int width) {
  AddDesigned(parent, ComponentKind::Label, label, Rect{8, y + 3, 76, y + 16}, labelText);
  return AddDesigned(parent, kind, name, Rect{80, y, 80 + width, y + 21});
}

Component& DropDown(Component& parent, const char* label, const char* labelText, int y, const char* name,
                    std::initializer_list<const char*> items, int left = 80, int width = 150) {
  AddDesigned(parent, ComponentKind::Label, label, Rect{left - 80, y + 3, left - 4, y + 16}, labelText);
  Component& c = AddDesigned(parent, ComponentKind::ComboBox, name, Rect{left, y, left + width, y + 21});
  c.properties["Style"] = "csDropDownList";
  for (const char* item : items)
    c.items.push_back(item);
  return c;
}

Component& Check(Component& parent, const char* name, const char* caption, int y) {
  return AddDesigned(parent, ComponentKind::CheckBox, name, Rect{250, y, 470, y + 17}, caption);
}

}  // namespace

std::unique_ptr<Component> BuildButtonLayoutForm() {
  // The bounds are the client area: with a sizeable frame the window is
  // about 694 by 476.
  auto form = MakeComponent(ComponentKind::Form, "FormButtonLayout", "Layout pulsanti");
  form->bounds = Rect{0, 0, 678, 438};
  form->properties["Position"] = "poScreenCenter";
  form->properties["ShowHint"] = "True";
  form->Bind("OnShow", "FormShow");
  form->Bind("OnClose", "FormClose");

  // The upper part: the list, and the strip of buttons on its right.
  Component& work = Panel(*form, "PnlLavoro", Rect{0, 0, 678, 162}, "alClient");
  Component& strip = Panel(work, "PnlOrdinamento", Rect{638, 0, 678, 162}, "alRight");
  strip.Bind("OnResize", "PnlOrdinamentoResize");
  Component& buttons = Panel(strip, "PnlPulsanti", Rect{6, 20, 34, 142});
  StripButton(buttons, "BtnUp", 0, "Sposta l'elemento verso l'alto");
  StripButton(buttons, "BtnDelete", 29, "Elimina l'elemento");
  StripButton(buttons, "BtnDown", 58, "Sposta l'elemento verso il basso");
  AddDesigned(buttons, ComponentKind::Bevel, "Bevel1", Rect{0, 89, 28, 91}).properties["Shape"] = "bsTopLine";
  StripButton(buttons, "BtnAddElement", 95, "");
  Component& list = AddDesigned(work, ComponentKind::ListView, "ListButtons", Rect{0, 0, 638, 162});
  list.properties["Align"] = "alClient";
  list.properties["ViewStyle"] = "vsReport";
  list.properties["MultiSelect"] = "True";
  list.properties["RowSelect"] = "True";
  list.properties["HideSelection"] = "False";
  list.properties["ColumnClick"] = "False";
  list.columns = {ListColumn{"Testo", 120}, ListColumn{"Percorso", 360}, ListColumn{"Tasto rapido", 100}};
  Bound(list, "OnChange", "ListButtonsChange");
  Bound(list, "OnDblClick", "ListButtonsDblClick");
  Bound(list, "OnEdited", "ListButtonsEdited");

  // The lower part: the combinations, the editors and the preview.
  Component& layout = Panel(*form, "PnlLayout", Rect{0, 162, 678, 438}, "alBottom");
  Component& row = Panel(layout, "Pnl_Combinazione", Rect{0, 0, 678, 32}, "alTop");
  Component& selection = Panel(row, "PnlSelezione", Rect{0, 0, 162, 32}, "alLeft");
  AddDesigned(selection, ComponentKind::Button, "BtnSelezionaTutto", Rect{4, 4, 79, 28}, "Tutto").hint =
      "Seleziona tutti gli elementi";
  Bound(*selection.Find("BtnSelezionaTutto"), "OnClick", "BtnSelezionaTuttoClick");
  AddDesigned(selection, ComponentKind::Button, "BtnInverti", Rect{83, 4, 158, 28}, "Inverti").hint =
      "Inverte la selezione corrente";
  Bound(*selection.Find("BtnInverti"), "OnClick", "BtnInvertiClick");
  Component& combination = Panel(row, "PnlCombinazione", Rect{162, 0, 678, 32}, "alClient");
  combination.Bind("OnResize", "PnlCombinazioneResize");
  AddDesigned(combination, ComponentKind::Label, "Lbl_Combinazione", Rect{8, 9, 86, 22}, "Combinazione");
  Component& themes = AddDesigned(combination, ComponentKind::ComboBox, "EditS_Combinazione", Rect{90, 5, 428, 26});
  Bound(themes, "OnChange", "EditS_CombinazioneChange");
  Component& save = AddDesigned(combination, ComponentKind::PngButton, "BtnSalva", Rect{432, 2, 512, 30}, "Salva");
  save.hint = "Assegna una nome alla combinazione corrente, in modo che possa essere richiamata in un secondo tempo";
  Bound(save, "OnClick", "BtnSalvaClick");

  Component& preview = Panel(layout, "PnlAnteprima", Rect{478, 32, 678, 276}, "alRight");
  Component& sample = AddDesigned(preview, ComponentKind::SpeedButton, "BtnPreview", Rect{10, 10, 102, 31}, "Preview");
  (void)sample;
  Panel(preview, "PnlPreview", Rect{10, 10, 190, 150}).visible = false;
  Bound(AddDesigned(preview, ComponentKind::PngButton, "BtnAnteprima", Rect{6, 200, 96, 232}, "Anteprima"), "OnClick",
        "BtnAnteprimaClick");
  Bound(AddDesigned(preview, ComponentKind::PngButton, "BtnApplica", Rect{102, 200, 192, 232}, "Applica"), "OnClick",
        "BtnApplicaClick");

  Component& editors = Panel(layout, "PnlEditori", Rect{0, 32, 478, 276}, "alClient");
  Labelled(editors, "Lbl_Caption", "Testo", 5, ComponentKind::Edit, "EditS_Caption", 160);
  DropDown(editors, "Lbl_Style", "Stile", 31, "EditS_Style",
           {"Standard", "Lucido", "Piatto con i colori scelti", "Lucido con i colori scelti"}, 80, 160);
  for (auto [label, text, name, spin, y] : {std::tuple{"Lbl_Width", "Larghezza", "EditS_Width", "UpD_Width", 57},
                                            std::tuple{"Lbl_Height", "Altezza", "EditS_Height", "UpD_Height", 83}}) {
    Component& e = Labelled(editors, label, text, y, ComponentKind::SpinEdit, name, 50);
    Component& u = AddDesigned(editors, ComponentKind::UpDown, spin, Rect{130, y, 146, y + 21});
    u.properties["Associate"] = e.name;
    u.properties["Min"] = "0";
    u.properties["Max"] = "999";
  }
  int y = 109;
  for (auto [label, text, name] : {std::tuple{"Lbl_Color", "Colore", "EditS_Color"},
                                   std::tuple{"Lbl_HotTrackColor", "Selezione", "EditS_HotTrackColor"},
                                   std::tuple{"Lbl_ShadowColor", "Ombra", "EditS_ShadowColor"},
                                   std::tuple{"Lbl_LightColor", "Luce", "EditS_LightColor"}}) {
    Component& e = Labelled(editors, label, text, y, ComponentKind::ComboEdit, name, 80);
    e.properties["ReadOnly"] = "True";
    e.Bind("OnButtonClick", "EditS_ColorButtonClick");
    y += 26;
  }
  for (auto [box, label, text, button, top] :
       {std::tuple{"PnlFont", "LblFont", "Standard font", "BtnFont", 213},
        std::tuple{"PnlHotTrackFont", "LblHotTrackFont", "Highlight font", "BtnHotTrackFont", 239}}) {
    Component& frame = AddDesigned(editors, ComponentKind::Panel, box, Rect{8, top, 200, top + 24});
    frame.properties["BevelOuter"] = "bvLowered";
    AddDesigned(frame, ComponentKind::Label, label, Rect{6, 5, 186, 19}, text);
    Bound(AddDesigned(editors, ComponentKind::Button, button, Rect{204, top, 228, top + 24}, "F"), "OnClick",
          (std::string(button) + "Click").c_str());
  }
  Check(editors, "EditB_AutoSize", "Dimensiona automaticamente", 5);
  Check(editors, "EditB_ShowText", "Mostra testo", 27);
  Check(editors, "EditB_WordWrap", "A capo automatico", 49);
  Check(editors, "EditB_FolderMenu", "Espandi cartella", 71);
  Check(editors, "EditB_RealTime", "Aggiorna cartella", 93);
  Check(editors, "EditB_HotTrack", "Evidenzia al passaggio", 115);
  Check(editors, "EditB_ShowIcon", "Mostra icona", 137);
  Check(editors, "EditB_SmallIcon", "Icona piccola", 159);
  DropDown(editors, "Lbl_TextAlignment", "Allin. testo", 185, "EditS_TextAlignment",
           {"A sinistra", "A destra", "Centrato"}, 330, 140);
  DropDown(editors, "LblImgLayout", "Allin. icona", 211, "EditS_ImgLayout", {"Sinistra", "Destra", "Sopra", "Sotto"},
           330, 140);
  // The button's hotkey as stored: "CA+N" is Ctrl+Alt+N.
  AddDesigned(editors, ComponentKind::Label, "Lbl_Hotkey", Rect{250, 240, 326, 253}, "Tasto rapido");
  Component& hotkey = AddDesigned(editors, ComponentKind::Edit, "EditS_Hotkey", Rect{330, 237, 470, 258});
  hotkey.hint = "C Ctrl, S Maiusc, A Alt, W tasto Windows, \"+\", poi il tasto: ad esempio CA+N o W+1. Vuoto: nessuno";

  AddDesigned(*form, ComponentKind::FormPlacement, "FormPlacement", Rect{});
  AddDesigned(*form, ComponentKind::Other, "DialogColore", Rect{});
  AddDesigned(*form, ComponentKind::Other, "DialogFont", Rect{});
  Component& menu = form->Add(MakeComponent(ComponentKind::PopupMenu, "PopupElementi"));
  Bound(menu.Add(MakeComponent(ComponentKind::MenuItem, "Pop_Separator", "Separatore")), "OnClick",
        "Pop_SeparatorClick");
  return form;
}

}  // namespace tov
