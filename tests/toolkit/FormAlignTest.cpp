// Aligned controls: the order of the sides, the order within a side, hidden
// controls, the client area of panels, the dialogs as designed staying as
// they are, and splitters.
#include <gtest/gtest.h>

#include "forms/AboutBoxForm.h"
#include "forms/FormResource.h"
#include "forms/SettingsForm.h"
#include "forms/StandardPromptForm.h"
#include "toolkit/FormAlign.h"

namespace tov {
namespace {

Component& Aligned(Component& parent, const char* name, Rect r, const char* align) {
  Component& c = AddDesigned(parent, ComponentKind::Panel, name, r);
  c.properties["Align"] = align;
  return c;
}

TEST(FormAlign, SidesTakeTheirRoomInTurnAndTheClientTheRest) {
  auto form = MakeComponent(ComponentKind::Form, "F");
  form->bounds = Rect{0, 0, 300, 200};
  Component& client = Aligned(*form, "Client", Rect{}, "alClient");
  Component& right = Aligned(*form, "Right", Rect{0, 0, 40, 10}, "alRight");
  Component& left = Aligned(*form, "Left", Rect{0, 0, 50, 10}, "alLeft");
  Component& bottom = Aligned(*form, "Bottom", Rect{0, 0, 10, 30}, "alBottom");
  Component& top2 = Aligned(*form, "Top2", Rect{0, 50, 10, 70}, "alTop");
  Component& top1 = Aligned(*form, "Top1", Rect{0, 10, 10, 35}, "alTop");
  Component& free = AddDesigned(*form, ComponentKind::Panel, "Free", Rect{5, 6, 7, 8});
  EXPECT_TRUE(AlignControls(*form));
  EXPECT_EQ(top1.bounds, (Rect{0, 0, 300, 25}));  // nearer the top first
  EXPECT_EQ(top2.bounds, (Rect{0, 25, 300, 45}));
  EXPECT_EQ(bottom.bounds, (Rect{0, 170, 300, 200}));
  EXPECT_EQ(left.bounds, (Rect{0, 45, 50, 170}));
  EXPECT_EQ(right.bounds, (Rect{260, 45, 300, 170}));
  EXPECT_EQ(client.bounds, (Rect{50, 45, 260, 170}));
  EXPECT_EQ(free.bounds, (Rect{5, 6, 7, 8}));
  EXPECT_FALSE(AlignControls(*form));  // nothing moves twice

  // A hidden control takes no room; one above the others goes first.
  top1.visible = false;
  Component& newest = Aligned(*form, "Newest", Rect{0, -1, 0, 9}, "alTop");
  EXPECT_TRUE(AlignControls(*form));
  EXPECT_EQ(newest.bounds, (Rect{0, 0, 300, 10}));
  EXPECT_EQ(top2.bounds, (Rect{0, 10, 300, 30}));
  EXPECT_EQ(client.bounds, (Rect{50, 30, 260, 170}));

  // Too small a form: nothing turns inside out.
  form->bounds = Rect{0, 0, 60, 20};
  AlignControls(*form);
  EXPECT_GE(client.bounds.Width(), 0);
  EXPECT_GE(client.bounds.Height(), 0);
}

TEST(FormAlign, PanelsLayOutWithinTheirBordersAndBevels) {
  auto form = MakeComponent(ComponentKind::Form, "F");
  form->bounds = Rect{0, 0, 100, 100};
  Component& outer = AddDesigned(*form, ComponentKind::Panel, "Outer", Rect{0, 0, 100, 100});
  outer.properties["BorderWidth"] = "3";
  outer.properties["BevelInner"] = "bvLowered";  // and the raised outer bevel by default
  Component& inner = Aligned(outer, "Inner", Rect{}, "alClient");
  AlignControls(*form);
  EXPECT_EQ(inner.bounds, (Rect{5, 5, 95, 95}));
  outer.properties["BevelOuter"] = "bvNone";
  outer.properties["BevelInner"] = "bvNone";
  AlignControls(*form);
  EXPECT_EQ(inner.bounds, (Rect{3, 3, 97, 97}));
}

TEST(FormAlign, TheDialogsAsDesignedAreLaidOutAlready) {
  for (auto build : {&BuildAboutBoxForm, &BuildStandardPromptForm, &BuildSettingsForm}) {
    auto form = build();
    EXPECT_FALSE(AlignControls(*form)) << form->name;
  }
}

TEST(FormAlign, ASplitterResizesItsNeighbourWithinLimits) {
  auto form = BuildSettingsForm();
  Component& splitter = *form->Find("Splitter");
  Component& left = *form->Find("PnlSinistro");
  Component& work = *form->Find("PnlLavoro");
  const int total = left.bounds.Width() + work.bounds.Width();
  EXPECT_TRUE(DragSplitter(splitter, 30));
  EXPECT_EQ(left.bounds.Width(), 212);
  EXPECT_EQ(splitter.bounds.left, 212);
  EXPECT_EQ(work.bounds.left, 215);
  EXPECT_EQ(left.bounds.Width() + work.bounds.Width(), total);
  // Not below its least size, and leaving the other side as much.
  EXPECT_TRUE(DragSplitter(splitter, -1000));
  EXPECT_EQ(left.bounds.Width(), 60);
  EXPECT_TRUE(DragSplitter(splitter, 1000));
  EXPECT_EQ(work.bounds.Width(), 60);
  EXPECT_FALSE(DragSplitter(splitter, 1000));
  EXPECT_FALSE(DragSplitter(splitter, 0));
  // A splitter with nothing before it moves nothing.
  auto lone = MakeComponent(ComponentKind::Form, "F");
  lone->bounds = Rect{0, 0, 100, 100};
  Component& s = AddDesigned(*lone, ComponentKind::Splitter, "S", Rect{0, 0, 3, 100});
  s.properties["Align"] = "alLeft";
  EXPECT_FALSE(DragSplitter(s, 10));
}

}  // namespace
}  // namespace tov
