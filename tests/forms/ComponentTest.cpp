// The form model: ownership, order of destruction, lookup by name, events.
#include <gtest/gtest.h>

#include "forms/Component.h"
#include "platform/EventGuard.h"

namespace tov {
namespace {

class Recorder : public ComponentListener {
 public:
  void Added(Component& c) override { log.push_back("+" + c.name); }
  void Removing(Component& c) override { log.push_back("-" + c.name); }
  void Changed(Component& c) override { log.push_back("*" + c.name); }
  std::vector<std::string> log;
};

TEST(Component, ChildrenAreOwnedByTheFormAndFreedLastToFirst) {
  Component form(ComponentKind::Form, "FormProva");
  Recorder rec;
  form.SetListener(&rec);
  Component& panel = form.Add(ComponentKind::Panel, "PnlSopra");
  Component& label = panel.Add(ComponentKind::Label, "LblTitolo");
  Component& btn = panel.Add(ComponentKind::Button, "BtnOk", 0);
  EXPECT_EQ(&panel.Child(0), &btn);
  EXPECT_EQ(label.Owner(), &form);
  EXPECT_EQ(form.Owned(), (std::vector<Component*>{&panel, &label, &btn}));
  EXPECT_EQ(form.Find("lbltitolo"), &label);
  EXPECT_EQ(form.FindOwned("BTNOK"), &btn);
  EXPECT_EQ(label.Form(), &form);
  EXPECT_TRUE(label.IsKind("tlabel"));
  EXPECT_FALSE(label.IsKind("TEdit"));
  EXPECT_TRUE(panel.IsContainer());

  form.Remove(panel);
  EXPECT_EQ(rec.log, (std::vector<std::string>{"+PnlSopra", "+LblTitolo", "+BtnOk", "-PnlSopra"}));
  EXPECT_TRUE(form.Owned().empty());
  EXPECT_EQ(form.Find("BtnOk"), nullptr);
  form.SetListener(nullptr);
}

TEST(Component, ItemsOwnedElsewhereSurviveTheirOwner) {
  Component form(ComponentKind::Form, "F");
  Component& menu = form.Add(ComponentKind::PopupMenu, "PopMenu");
  Component& lang = menu.Add(ComponentKind::MenuItem, "PopLingua");
  Component& other = menu.Add(ComponentKind::MenuItem, "PopAltro");
  auto item = MakeComponent(ComponentKind::MenuItem, "", "English");
  item->SetOwner(&lang);
  Component& english = other.Add(std::move(item));
  EXPECT_EQ(english.Owner(), &lang);
  EXPECT_EQ(lang.Owned(), std::vector<Component*>{&english});
  menu.Remove(lang);
  EXPECT_EQ(english.Owner(), nullptr);
  EXPECT_EQ(other.ChildCount(), 1u);
}

TEST(Component, EventsRunTheirFunctionOrTheHandlerTheFormOffers) {
  Component form(ComponentKind::Form, "F");
  std::vector<std::string> ran;
  form.SetHandler("PopDockTopClick", [&](Component& s) { ran.push_back("form:" + s.name); });
  Component& item = form.Add(ComponentKind::MenuItem, "PopDockTop");
  EXPECT_FALSE(item.Fire("OnClick"));
  item.Bind("OnClick", "PopDockTopClick");
  EXPECT_EQ(item.HandlerName("OnClick"), "PopDockTopClick");
  EXPECT_TRUE(item.Fire("OnClick"));
  item.Bind("OnClick", "Altro", [&](Component& s) { ran.push_back("own:" + s.name); });
  EXPECT_TRUE(item.Fire("OnClick"));
  // A handler nobody offers: nothing runs, and the fault is reported.
  static std::vector<std::string> reported;
  reported.clear();
  const ExceptionDisplay before = SetExceptionDisplay([](const std::string& text) { reported.push_back(text); });
  item.Bind("OnClick", "Manca");
  EXPECT_FALSE(item.Fire("OnClick"));
  SetExceptionDisplay(before);
  EXPECT_EQ(ran, (std::vector<std::string>{"form:PopDockTop", "own:PopDockTop"}));
  EXPECT_EQ(reported, std::vector<std::string>{"PopDockTop.OnClick: no handler Manca"});
  EXPECT_EQ(form.UnwiredHandlers(), std::vector<std::string>{"PopDockTop.OnClick -> Manca"});
  item.Bind("OnClick", "PopDockTopClick");
  EXPECT_TRUE(form.UnwiredHandlers().empty());
}

TEST(ComponentKind, ClassNamesMatchTheTranslationTable) {
  EXPECT_STREQ(KindInfo(ComponentKind::Button).className, "TBitBtn");
  EXPECT_STREQ(KindInfo(ComponentKind::PngButton).className, "TPNGButton");
  EXPECT_STREQ(KindInfo(ComponentKind::HintBox).className, "THintBox");
  EXPECT_EQ(KindFromClassName("tcombobox"), ComponentKind::ComboBox);
  EXPECT_EQ(KindFromClassName("TNoSuchThing"), ComponentKind::Other);
  EXPECT_FALSE(KindInfo(ComponentKind::MenuItem).control);
}

}  // namespace
}  // namespace tov
