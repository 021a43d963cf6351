// Dialogs driven through the host model: the rules of a modal form as the
// user meets them (what a click, typing and Enter do, when the dialog ends
// and with which result), what the window system is asked to show, and what
// the logic paints.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormRuntime.h"

namespace tov {
namespace {

struct FormRuntimeTest : ::testing::Test {
  FormRuntimeTest() {
    form = MakeComponent(ComponentKind::Form, "FormProva", "Prova");
    form->bounds = Rect{10, 20, 310, 220};
    form->properties["BorderStyle"] = "bsDialog";
    group = &Add(*form, ComponentKind::GroupBox, "GrpOpzioni", Rect{8, 8, 200, 120}, "Opzioni");
    edit = &Add(*group, ComponentKind::Edit, "EditNome", Rect{10, 20, 150, 41});
    ok = &Add(*form, ComponentKind::Button, "BtnOk", Rect{210, 160, 290, 185}, "OK");
    ok->properties["ModalResult"] = "1";
    ok->properties["Default"] = "True";
    cancel = &Add(*form, ComponentKind::Button, "BtnAnnulla", Rect{120, 160, 200, 185}, "Annulla");
    cancel->properties["ModalResult"] = "2";
  }
  static Component& Add(Component& parent, ComponentKind kind, const char* name, Rect r, const char* caption = "") {
    Component& c = parent.Add(MakeComponent(kind, name, caption));
    c.bounds = r;
    return c;
  }
  // Runs the form with a script playing the user; answers the modal result.
  int Run(std::function<void(host::HostForm&)> script) {
    hp.Windows().modalScripts.push_back(std::move(script));
    return ShowModalForm(*form, 0x77);
  }
  host::HostPlatform hp;
  std::unique_ptr<Component> form;
  Component* group;
  Component* edit;
  Component* ok;
  Component* cancel;
};

TEST_F(FormRuntimeTest, ControlsAreDescribedThroughTheirContainers) {
  Component& hidden = Add(*group, ComponentKind::Panel, "PnlNascosto", Rect{10, 50, 180, 110});
  hidden.visible = false;
  Component& inner = Add(hidden, ComponentKind::CheckBox, "ChkDentro", Rect{4, 4, 100, 21}, "Dentro");
  inner.checked = true;
  group->enabled = false;
  Component& label = Add(*form, ComponentKind::Label, "LblTesto", Rect{8, 130, 300, 200}, "Abc");
  label.properties["Font.Style"] = "[fsBold]";
  Add(*form, ComponentKind::Timer, "Timer1", Rect{});
  const int result = Run([&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().name, "FormProva");
    EXPECT_EQ(f.Frame().caption, "Prova");
    EXPECT_EQ(f.Frame().border, FrameBorder::Dialog);
    EXPECT_EQ(f.Frame().bounds, (Rect{10, 20, 310, 220}));
    EXPECT_EQ(f.Owner(), WindowId(0x77));
    // Containers and timers are no controls; the rest are, in tree order.
    EXPECT_EQ(f.ControlNames(), (std::vector<std::string>{"EditNome", "ChkDentro", "BtnOk", "BtnAnnulla", "LblTesto"}));
    EXPECT_EQ(f.Control("EditNome")->bounds, (Rect{18, 28, 158, 49}));
    EXPECT_EQ(f.Control("ChkDentro")->bounds, (Rect{22, 62, 118, 79}));
    EXPECT_FALSE(f.Control("ChkDentro")->visible);
    EXPECT_TRUE(f.Control("ChkDentro")->checked);
    EXPECT_FALSE(f.Control("EditNome")->enabled);  // its group is disabled
    EXPECT_TRUE(f.Control("BtnOk")->enabled);
    // A label takes the size of its text: bold "Abc" is 3 x 6 wide, 13 high.
    EXPECT_EQ(f.Control("LblTesto")->bounds, (Rect{8, 130, 26, 143}));
    EXPECT_EQ(f.Control("LblTesto")->font.style, uint32_t(kFontBold));
    EXPECT_FALSE(f.Control("LblTesto")->takesFocus);
    // No edit can take the focus: the first control that can has it.
    EXPECT_EQ(f.FocusedName(), "BtnOk");
  });
  EXPECT_EQ(result, kModalCloseResult);  // the script left it open: closed with its close box
}

// A label is measured at the screen's scale and sized in the units that hold
// its text there: taken as units, the pixels of a screen at 150 % would be
// scaled once more when shown, and a long label would cover the edit or combo
// box beside it.
TEST_F(FormRuntimeTest, ALabelTakesTheUnitsThatHoldItsTextAtTheScreensScale) {
  Component& label = Add(*form, ComponentKind::Label, "LblTesto", Rect{8, 130, 300, 200}, "Abc");
  label.properties["Font.Style"] = "[fsBold]";
  Component& wrapped = Add(*form, ComponentKind::Label, "LblA capo", Rect{8, 150, 38, 200}, "Abc Abc");
  wrapped.properties["WordWrap"] = "True";
  // 96 DPI: bold "Abc" 18 x 13 pixels; "Abc " on each of two lines, 19 wide.
  EXPECT_EQ(DescribeControl(label, *form).bounds, (Rect{8, 130, 26, 143}));
  EXPECT_EQ(DescribeControl(wrapped, *form).bounds, (Rect{8, 150, 27, 176}));
  // 144 DPI: 24 x 18 pixels are 16 x 12 units; the lines are wrapped in 45
  // pixels, two of 18 pixels: 24 units high (36 if pixels were taken as units).
  hp.Canvases().SetScreenDpi(144);
  EXPECT_EQ(DescribeControl(label, *form).bounds, (Rect{8, 130, 24, 142}));
  EXPECT_EQ(DescribeControl(wrapped, *form).bounds, (Rect{8, 150, 25, 174}));
}

TEST_F(FormRuntimeTest, ButtonsEndTheDialogWithTheirResultAfterTheirHandler) {
  std::vector<std::string> fired;
  ok->Bind("OnClick", "BtnOkClick", [&](Component&) { fired.push_back("ok"); });
  form->Bind("OnShow", "FormShow", [&](Component&) { fired.push_back("show"); });
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_EQ(fired, std::vector<std::string>{"show"});
              EXPECT_EQ(f.FocusedName(), "EditNome");  // the first edit takes the focus
              EXPECT_TRUE(f.Click("BtnOk"));
              EXPECT_TRUE(f.Ended());
            }),
            1);
  EXPECT_EQ(fired, (std::vector<std::string>{"show", "ok"}));

  // A button without a result runs its handler and the dialog goes on; a
  // handler may end it by giving the form a result.
  Component& apply = Add(*form, ComponentKind::Button, "BtnApplica", Rect{30, 160, 110, 185}, "Applica");
  int applied = 0;
  apply.Bind("OnClick", "BtnApplicaClick", [&](Component&) {
    if (++applied == 2) form->properties["ModalResult"] = "7";
  });
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_TRUE(f.Click("BtnApplica"));
              EXPECT_FALSE(f.Ended());
              EXPECT_TRUE(f.Click("BtnApplica"));
              EXPECT_TRUE(f.Ended());
            }),
            7);
  EXPECT_EQ(form->Property("ModalResult"), "7");

  // Shown again, the dialog starts without the old result; OnShow may end it at once.
  form->Bind("OnShow", "FormShow", [&](Component&) { form->properties["ModalResult"] = "5"; });
  bool ran = false;
  EXPECT_EQ(Run([&](host::HostForm&) { ran = true; }), 5);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(hp.Windows().modalScripts.empty() == false);  // its script was never needed
}

TEST_F(FormRuntimeTest, DisabledOrHiddenButtonsCannotBePressedByClickOrEnter) {
  bool pressed = false;
  ok->Bind("OnClick", "BtnOkClick", [&](Component&) { pressed = true; });
  ok->enabled = false;
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_FALSE(f.Click("BtnOk"));
              EXPECT_EQ(f.DefaultButtonName(), "");
              EXPECT_FALSE(f.PressEnter());
              // Enabled by a handler while the dialog shows: now Enter presses it.
              ok->enabled = true;
              ok->Changed();
              EXPECT_TRUE(f.Control("BtnOk")->enabled);
              EXPECT_EQ(f.DefaultButtonName(), "BtnOk");
              EXPECT_TRUE(f.PressEnter());
            }),
            1);
  EXPECT_TRUE(pressed);
  group->visible = false;
  cancel->visible = false;
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_FALSE(f.Click("BtnAnnulla"));
              EXPECT_FALSE(f.Type("EditNome", "x"));  // inside a hidden group
            }),
            kModalCloseResult);
}

TEST_F(FormRuntimeTest, EscapePressesTheCancelButtonAndOnlyThat) {
  EXPECT_EQ(Run([](host::HostForm& f) {
              EXPECT_FALSE(f.PressEscape());  // no button for it: nothing happens
              EXPECT_FALSE(f.Ended());
              f.Close();
            }),
            kModalCloseResult);
  cancel->properties["Cancel"] = "True";
  cancel->properties["ModalResult"] = "7";
  EXPECT_EQ(Run([](host::HostForm& f) { EXPECT_TRUE(f.PressEscape()); }), 7);
  cancel->enabled = false;
  EXPECT_EQ(Run([](host::HostForm& f) {
              EXPECT_FALSE(f.PressEscape());
              f.Close();
            }),
            kModalCloseResult);
}

TEST_F(FormRuntimeTest, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_EQ(f.DefaultButtonName(), "BtnOk");  // the edit has the focus
              EXPECT_TRUE(f.FocusOn("BtnAnnulla"));
              EXPECT_EQ(f.DefaultButtonName(), "BtnAnnulla");
              EXPECT_TRUE(f.PressEnter());
            }),
            2);
  // Speed buttons take no focus and are never what Enter presses by focus.
  Component& speed = Add(*form, ComponentKind::SpeedButton, "SbAiuto", Rect{260, 8, 290, 30});
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_FALSE(f.Control("SbAiuto")->takesFocus);
              EXPECT_TRUE(f.PressEnter());
            }),
            1);
  (void)speed;
}

TEST_F(FormRuntimeTest, TypingChoosingAndCheckingReachTheComponentsAndTheirHandlers) {
  Component& memo = Add(*form, ComponentKind::Memo, "MemoNote", Rect{210, 8, 290, 60});
  memo.lines = {"uno"};
  Component& combo = Add(*form, ComponentKind::ComboBox, "CmbColore", Rect{210, 70, 290, 91});
  combo.items = {"Rosso", "Verde"};
  Component& list = Add(*form, ComponentKind::ListBox, "LstVoci", Rect{210, 100, 290, 150});
  list.items = {"a", "b", "c"};
  Component& r1 = Add(*group, ComponentKind::RadioButton, "RbUno", Rect{10, 50, 90, 67}, "Uno");
  Component& r2 = Add(*group, ComponentKind::RadioButton, "RbDue", Rect{10, 70, 90, 87}, "Due");
  Component& other = Add(*form, ComponentKind::RadioButton, "RbAltro", Rect{10, 130, 90, 147}, "Altro");
  r1.checked = other.checked = true;
  std::vector<std::string> events;
  edit->Bind("OnChange", "EditNomeChange", [&](Component& c) { events.push_back("edit:" + c.caption); });
  memo.Bind("OnChange", "MemoNoteChange",
            [&](Component& c) { events.push_back("memo:" + std::to_string(c.lines.size())); });
  combo.Bind("OnChange", "CmbColoreChange",
             [&](Component& c) { events.push_back("combo:" + c.caption + ":" + std::to_string(c.itemIndex)); });
  list.Bind("OnClick", "LstVociClick", [&](Component& c) { events.push_back("list:" + std::to_string(c.itemIndex)); });
  r2.Bind("OnClick", "RbDueClick",
          [&](Component& c) { events.push_back(std::string("radio:") + (c.checked ? "on" : "off")); });
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_EQ(f.Text("MemoNote"), "uno");
              EXPECT_TRUE(f.Type("EditNome", "Mario"));
              EXPECT_TRUE(f.Type("MemoNote", "uno\r\ndue"));
              EXPECT_TRUE(f.Choose("CmbColore", 1));
              EXPECT_TRUE(f.Type("CmbColore", "Blu"));
              EXPECT_TRUE(f.Choose("LstVoci", 2));
              EXPECT_TRUE(f.Click("RbDue"));
              EXPECT_FALSE(f.Choose("LstVoci", 3));  // no such item
              EXPECT_TRUE(f.Click("BtnOk"));
            }),
            1);
  EXPECT_EQ(events,
            (std::vector<std::string>{"edit:Mario", "memo:2", "combo:Verde:1", "combo:Blu:-1", "list:2", "radio:on"}));
  EXPECT_EQ(edit->caption, "Mario");
  EXPECT_EQ(memo.lines, (std::vector<std::string>{"uno", "due"}));
  EXPECT_EQ(combo.caption, "Blu");
  EXPECT_EQ(combo.itemIndex, -1);
  EXPECT_EQ(list.itemIndex, 2);
  // Radio buttons of one parent uncheck each other; another parent's stay.
  EXPECT_FALSE(r1.checked);
  EXPECT_TRUE(r2.checked);
  EXPECT_TRUE(other.checked);

  // A list-only combo box and a read-only edit cannot be typed into.
  combo.properties["Style"] = "csDropDownList";
  edit->properties["ReadOnly"] = "True";
  EXPECT_EQ(Run([&](host::HostForm& f) {
              EXPECT_FALSE(f.Type("CmbColore", "Giallo"));
              EXPECT_FALSE(f.Type("EditNome", "Luigi"));
            }),
            kModalCloseResult);
  EXPECT_EQ(edit->caption, "Mario");
}

TEST_F(FormRuntimeTest, ComponentsAddedOrRemovedByHandlersComeAndGoOnTheDialog) {
  Component* added = nullptr;
  edit->Bind("OnChange", "EditNomeChange", [&](Component& c) {
    if (!added) added = &Add(*group, ComponentKind::Label, "LblEco", Rect{10, 50, 100, 65}, "");
    added->caption = c.caption;
    added->Changed();
  });
  cancel->properties.erase("ModalResult");
  cancel->Bind("OnClick", "BtnAnnullaClick", [&](Component&) {
    group->Remove(*added);
    added = nullptr;
  });
  EXPECT_EQ(Run([&](host::HostForm& f) {
              f.Type("EditNome", "ciao");
              ASSERT_NE(f.Control("LblEco"), nullptr);
              EXPECT_EQ(f.Text("LblEco"), "ciao");
              EXPECT_EQ(f.Control("LblEco")->bounds.left, 18);  // inside the group
              f.Click("BtnAnnulla");
              EXPECT_EQ(f.Control("LblEco"), nullptr);
              EXPECT_FALSE(f.Ended());
              f.Close();
            }),
            kModalCloseResult);
}

TEST_F(FormRuntimeTest, ADialogThatCannotBeMadeThrowsAndLeavesTheFormAlone) {
  hp.Windows().failForms = 1;
  EXPECT_THROW(ShowModalForm(*form, 0), std::runtime_error);
  hp.Windows().failControls = 1;
  EXPECT_THROW(ShowModalForm(*form, 0), std::runtime_error);
  // No dialog listens to the form any more: changing it is harmless.
  edit->caption = "dopo";
  edit->Changed();
  EXPECT_TRUE(hp.Windows().shownForms.empty());
  EXPECT_EQ(Run([](host::HostForm& f) { f.Click("BtnOk"); }), 1);
}

TEST_F(FormRuntimeTest, TheLogicPaintsContainersAndPictureButtons) {
  host::HostCanvasFactory& canvases = hp.Canvases();
  const Color face = canvases.SysColor(15), shadow = canvases.SysColor(16), light = canvases.SysColor(20);
  Run([&](host::HostForm& f) {
    // The group's etched frame: shadow outside, highlight inside, from half
    // the text's height down.
    const Bitmap back = f.PaintBackground();
    const int top = 8 + 13 / 2;
    EXPECT_EQ(back.At(8, top + 20), shadow);
    EXPECT_EQ(back.At(9, top + 20), light);
    EXPECT_EQ(back.At(199, top + 20), light);
    EXPECT_EQ(back.At(198, top + 20), shadow);
    EXPECT_EQ(back.At(100, 150), face);
    // The default button has a black outline; the other has none.
    PaintState state;
    state.isDefault = true;
    const Bitmap def = f.PaintControl("BtnOk", state);
    EXPECT_EQ(def.At(0, 0), Color(0));
    EXPECT_EQ(def.At(79, 24), Color(0));
    EXPECT_EQ(def.At(1, 1), light);  // the raised frame inside it
    state.isDefault = false;
    const Bitmap plain = f.PaintControl("BtnAnnulla", state);
    EXPECT_EQ(plain.At(0, 0), light);
    // Its caption, centred: "Annulla" is 5 + 5 + 5 + 5 + 3 + 3 + 5 = 31
    // pixels wide in the host's text model.
    const int left = (80 - 31) / 2;
    EXPECT_EQ(plain.At(left, 12), canvases.SysColor(18));
    EXPECT_EQ(plain.At(left - 2, 12), face);
    // Disabled: the caption greyed, with its highlight one pixel below right.
    state.enabled = false;
    const Bitmap grey = f.PaintControl("BtnAnnulla", state);
    EXPECT_EQ(grey.At(left, 12), shadow);
  });
}

TEST_F(FormRuntimeTest, UpDownsStepTheirEditWithinTheirRangeAndReportTheChange) {
  edit->caption = "99";
  Component& spin = Add(*group, ComponentKind::UpDown, "UdNome", Rect{150, 20, 166, 41});
  spin.properties["Associate"] = "EditNome";
  std::vector<std::string> events;
  edit->Bind("OnChange", "EditNomeChange", [&](Component& c) { events.push_back("edit:" + c.caption); });
  spin.Bind("OnClick", "UdNomeClick", [&](Component&) { events.push_back("spin"); });
  Run([&](host::HostForm& f) {
    // The arrows step the edit it is attached to, on the same parent.
    EXPECT_NE(f.Control("UdNome")->buddy, 0);
    EXPECT_TRUE(f.Spin("UdNome", +1));
    EXPECT_EQ(f.Text("EditNome"), "100");
    EXPECT_TRUE(f.Spin("UdNome", +1));  // no further than 100
    EXPECT_EQ(f.Text("EditNome"), "100");
    // Text that is no number steps from the last position; a number out of
    // range is kept, and steps only back towards the range.
    EXPECT_TRUE(f.Type("EditNome", "abc"));
    EXPECT_TRUE(f.Spin("UdNome", -1));
    EXPECT_EQ(f.Text("EditNome"), "99");
    EXPECT_TRUE(f.Type("EditNome", "-40"));
    EXPECT_TRUE(f.Spin("UdNome", -1));
    EXPECT_EQ(f.Text("EditNome"), "-40");
    EXPECT_TRUE(f.Spin("UdNome", +1));
    EXPECT_EQ(f.Text("EditNome"), "-39");
  });
  EXPECT_EQ(edit->caption, "-39");
  EXPECT_EQ(events, (std::vector<std::string>{"edit:100", "spin", "edit:100", "spin", "edit:abc", "edit:99", "spin",
                                              "edit:-40", "edit:-40", "spin", "edit:-39", "spin"}));
  // Disabled, it steps nothing.
  spin.enabled = false;
  Run([&](host::HostForm& f) { EXPECT_FALSE(f.Spin("UdNome", +1)); });
  EXPECT_EQ(edit->caption, "-39");
}

TEST_F(FormRuntimeTest, ScrollBoxesHoldControlsAndPaintTheContainersInThem) {
  Component& box = Add(*form, ComponentKind::ScrollBox, "ScrollPagina", Rect{210, 8, 300, 150});
  Component& page = Add(box, ComponentKind::Panel, "PnlPagina", Rect{0, 0, 80, 400});
  page.properties["BevelOuter"] = "bvNone";
  page.properties["Color"] = "255";  // red, to see it painted
  Component& row = Add(page, ComponentKind::Edit, "EditRiga", Rect{5, 300, 70, 321});
  Run([&](host::HostForm& f) {
    const ControlDesc* b = f.Control("ScrollPagina");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->type, ControlType::ScrollBox);
    EXPECT_EQ(b->bounds, (Rect{210, 8, 300, 150}));
    EXPECT_EQ(b->contentHeight, 400);
    // In the box's content coordinates, with the box as its parent.
    const ControlDesc* r = f.Control("EditRiga");
    EXPECT_EQ(r->bounds, (Rect{5, 300, 70, 321}));
    EXPECT_NE(r->parent, 0);
    EXPECT_EQ(f.Control("EditNome")->parent, 0);
    // The page grows: the box's content follows.
    page.bounds.bottom = 500;
    page.Changed();
    EXPECT_EQ(f.Control("ScrollPagina")->contentHeight, 500);
    // The dialog's background leaves the box alone; the box paints its page.
    const Bitmap back = f.PaintBackground();
    EXPECT_NE(back.At(250, 50), 0x0000FFu);
    const Bitmap inBox = f.PaintBackground("ScrollPagina");
    EXPECT_EQ(inBox.width, 90);
    EXPECT_EQ(inBox.height, 500);
    EXPECT_EQ(inBox.At(40, 450) & 0xFFFFFF, 0x0000FFu);
  });
  (void)row;
}

TEST_F(FormRuntimeTest, TreesDatesAndEditButtons) {
  Component& tree = Add(*form, ComponentKind::TreeView, "Albero", Rect{210, 8, 300, 150});
  tree.items = {"Interfaccia", "\tLingua", "  Colori", "Pannello"};
  Component& date = Add(*form, ComponentKind::DateTimePicker, "DataInizio", Rect{8, 130, 120, 151});
  date.caption = "2024-02-29";
  Component& colour = Add(*form, ComponentKind::ComboEdit, "EditColore", Rect{8, 160, 100, 181});
  colour.properties["Color"] = "255";
  colour.properties["PasswordChar"] = "*";
  std::vector<std::string> events;
  tree.Bind("OnChange", "AlberoChange", [&](Component& c) { events.push_back("tree:" + std::to_string(c.itemIndex)); });
  date.Bind("OnChange", "DataChange", [&](Component& c) { events.push_back("date:" + c.caption); });
  colour.Bind("OnButtonClick", "ColoreButtonClick", [&](Component&) { events.push_back("button"); });
  Run([&](host::HostForm& f) {
    const ControlDesc* t = f.Control("Albero");
    EXPECT_EQ(t->items, (std::vector<std::string>{"Interfaccia", "Lingua", "Colori", "Pannello"}));
    EXPECT_EQ(t->levels, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_TRUE(f.Choose("Albero", 3));
    const ControlDesc* d = f.Control("DataInizio");
    EXPECT_TRUE(d->hasDate);
    EXPECT_EQ(d->date, (DateTime{2024, 2, 29}));
    EXPECT_TRUE(f.PickDate("DataInizio", true, DateTime{2026, 12, 9}));
    EXPECT_TRUE(f.PickDate("DataInizio", false));
    const ControlDesc* c = f.Control("EditColore");
    EXPECT_TRUE(c->hasButton);
    EXPECT_EQ(c->background, Color(255));
    EXPECT_EQ(c->passwordChar, '*');
    EXPECT_FALSE(f.PressEditButton("EditNome"));  // a plain edit has no button
    EXPECT_TRUE(f.PressEditButton("EditColore"));
  });
  EXPECT_EQ(events, (std::vector<std::string>{"tree:3", "date:2026-12-09", "date:", "button"}));
  EXPECT_EQ(tree.itemIndex, 3);
  // A text that is no date shows none.
  date.caption = "2023-02-29";
  Run([&](host::HostForm& f) { EXPECT_FALSE(f.Control("DataInizio")->hasDate); });
}

TEST_F(FormRuntimeTest, MovingTheDialogReachesTheForm) {
  int resized = 0;
  form->Bind("OnResize", "FormResize", [&](Component&) { ++resized; });
  Run([&](host::HostForm& f) {
    f.MoveFrame(Rect{40, 50, 400, 300});
    f.MoveFrame(Rect{40, 50, 400, 300});  // no change, no event
  });
  EXPECT_EQ(form->bounds, (Rect{40, 50, 400, 300}));
  EXPECT_EQ(resized, 1);
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

TEST_F(FormRuntimeTest, ListViewsSelectRowsAndEditCaptionsInPlace) {
  Component& list = Add(*form, ComponentKind::ListView, "ListButtons", Rect{8, 130, 300, 150});
  list.columns = {ListColumn{"Testo", 120}, ListColumn{"Percorso", 360}};
  list.rows = {{"Editor", "C:\\Editor.lnk"}, {"*Separator*", ""}, {"Posta", "C:\\Posta.lnk"}};
  list.rowImages = {3, -1};
  list.rowIconPaths = {"C:\\Editor.lnk"};
  list.selected = {2, 0};  // kept in order, and a list of one choice keeps one
  list.properties["MultiSelect"] = "True";
  std::vector<std::string> log;
  list.Bind("OnChange", "", [&](Component& c) { log.push_back("change " + std::to_string(c.itemIndex)); });
  list.Bind("OnDblClick", "", [&](Component& c) { c.properties[kEditRowProperty] = "2", c.Changed(); });
  list.Bind("OnEdited", "", [&](Component& c) {
    const std::string text = c.Property(kEditedTextProperty);
    log.push_back("edited " + c.Property(kEditedRowProperty) + " " + text);
    if (text.find('\\') != std::string::npos) c.properties[kEditRefusedProperty] = "True";
    if (text == "minuscolo") c.rows[0][0] = "Minuscolo";  // the handler writes its own caption
  });
  Run([&](host::HostForm& f) {
    const ControlDesc* d = f.Control("ListButtons");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->type, ControlType::ListView);
    EXPECT_EQ(d->columns, (std::vector<ColumnDesc>{{"Testo", 120}, {"Percorso", 360}}));
    EXPECT_EQ(d->rowImages, (std::vector<int>{3, -1, -1}));
    EXPECT_EQ(d->rowIconPaths, (std::vector<std::string>{"C:\\Editor.lnk", "", ""}));
    EXPECT_EQ(d->selectedRows, std::vector<int>{2});  // not ascending after 2: dropped
    EXPECT_TRUE(d->multiSelect);
    EXPECT_TRUE(d->editCaptions);

    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 2}));
    EXPECT_EQ(list.selected, (std::vector<int>{0, 2}));
    EXPECT_EQ(list.itemIndex, 0);
    EXPECT_TRUE(f.DoubleClick("ListButtons"));
    EXPECT_EQ(f.EditingRow("ListButtons"), 2);
    EXPECT_TRUE(list.Property(kEditRowProperty).empty());
    EXPECT_TRUE(f.EditRowCaption("ListButtons", 2, "Mail"));
    EXPECT_EQ(list.rows[2][0], "Mail");
    EXPECT_FALSE(f.EditRowCaption("ListButtons", 0, "a\\b"));  // refused: the row keeps its caption
    EXPECT_EQ(list.rows[0][0], "Editor");
    EXPECT_FALSE(f.EditRowCaption("ListButtons", 0, "minuscolo"));
    EXPECT_EQ(f.Control("ListButtons")->rows[0][0], "Minuscolo");
    EXPECT_TRUE(list.Property(kEditedTextProperty).empty());
    EXPECT_TRUE(f.SelectRows("ListButtons", {}));
    EXPECT_EQ(list.itemIndex, -1);
    list.properties["MultiSelect"] = "False";
    list.Changed();
    EXPECT_FALSE(f.SelectRows("ListButtons", {0, 1}));
    list.properties["ReadOnly"] = "True";
    list.Changed();
    EXPECT_FALSE(f.EditRowCaption("ListButtons", 0, "x"));
    f.Close();
  });
  EXPECT_EQ(
      log, (std::vector<std::string>{"change 0", "edited 2 Mail", "edited 0 a\\b", "edited 0 minuscolo", "change -1"}));
}

}  // namespace
}  // namespace tov
