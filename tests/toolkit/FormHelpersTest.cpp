#include <gtest/gtest.h>

#include "toolkit/FormHelpers.h"

namespace tov {
namespace {

// A form with a page holding a group (two edits) and a label, plus a menu.
void Build(Component& form) {
  Component& page = form.Add(ComponentKind::Panel, "Pagina");
  Component& group = page.Add(ComponentKind::GroupBox, "Gruppo");
  group.Add(ComponentKind::Edit, "EditA");
  group.Add(ComponentKind::Edit, "EditB");
  page.Add(ComponentKind::Label, "LblC");
  form.Add(ComponentKind::PopupMenu, "PopMenu").Add(ComponentKind::MenuItem, "PopVoce");
}

std::vector<std::string> Names(const std::vector<Component*>& list) {
  std::vector<std::string> out;
  for (Component* c : list)
    out.push_back(c->name);
  return out;
}

TEST(FormHelpers, CollectsLastToFirstEachAfterItsDescendants) {
  Component form(ComponentKind::Form, "F");
  Build(form);
  std::vector<Component*> list;
  CollectChildControls(form, list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"LblC", "EditB", "EditA", "Gruppo", "Pagina"}));
}

class Order : public ComponentListener {
 public:
  void Added(Component&) override {}
  void Removing(Component& c) override { gone.push_back(c.name); }
  void Changed(Component&) override {}
  std::vector<std::string> gone;
};

TEST(FormHelpers, DestroysChildrenBeforeTheirContainerAndKeepsMenus) {
  Component form(ComponentKind::Form, "F");
  Build(form);
  Order order;
  form.SetListener(&order);
  DestroyChildControls(*form.Find("Pagina"), false);
  EXPECT_EQ(order.gone, (std::vector<std::string>{"LblC", "EditB", "EditA", "Gruppo"}));
  EXPECT_NE(form.Find("Pagina"), nullptr);
  DestroyChildControls(form, true);  // the root is only emptied
  EXPECT_EQ(form.Find("Pagina"), nullptr);
  EXPECT_NE(form.Find("PopVoce"), nullptr);
  form.SetListener(nullptr);
}

}  // namespace
}  // namespace tov
