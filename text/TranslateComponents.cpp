#include "text/TranslateComponents.h"

#include "base/Casefold.h"
#include "base/Strings.h"
#include "text/Texts.h"

namespace tov {

namespace {

// The section sign breaks lines and separates items in language files.
constexpr const char* kLineBreakMark = "\u00A7";

enum class Treatment { CaptionHint, LabelCaption, Lines, Items, Columns };

struct Row {
  const char* className;
  bool orDerived;  // the class or any class derived from it
  Treatment treatment;
};

// First match wins. The class names are the identities language files were
// written for; classes we have no widget for keep their place.
constexpr Row kRows[] = {
    {"TSpeedItem", false, Treatment::CaptionHint},    {"TLabel", false, Treatment::LabelCaption},
    {"TBitBtn", false, Treatment::CaptionHint},       {"TSpeedButton", false, Treatment::CaptionHint},
    {"TPNGButton", false, Treatment::CaptionHint},    {"TGroupBox", false, Treatment::CaptionHint},
    {"TFlatGroupBox", false, Treatment::CaptionHint}, {"TPanel", false, Treatment::CaptionHint},
    {"TMenuItem", false, Treatment::CaptionHint},     {"TCheckBox", false, Treatment::CaptionHint},
    {"TFlatCheckBox", false, Treatment::CaptionHint}, {"TRxSpeedButton", false, Treatment::CaptionHint},
    {"TFlatButton", false, Treatment::CaptionHint},   {"TFlatSpeedButton", false, Treatment::CaptionHint},
    {"TFlatPanel", false, Treatment::CaptionHint},    {"TFlatTitlebar", false, Treatment::CaptionHint},
    {"TSecretPanel", false, Treatment::Lines},        {"THintBox", false, Treatment::Lines},
    {"TComboBox", false, Treatment::Items},           {"TFlatComboBox", false, Treatment::Items},
    {"TEdit", true, Treatment::CaptionHint},          {"TListView", true, Treatment::Columns},
    {"TantAngleLabel", true, Treatment::CaptionHint}, {"TantLabel", true, Treatment::CaptionHint},
};

const Row* MatchingRow(const Component& c) {
  for (const Row& r : kRows) {
    bool match = r.orDerived ? c.IsKind(r.className) : SameTextAscii(c.ClassName(), r.className);
    if (match) return &r;
  }
  return nullptr;
}

void Translate(Component& c, const std::string& form, const std::vector<std::string>& lines) {
  const Row* row = MatchingRow(c);
  if (!row) return;
  const std::string& n = c.name;
  switch (row->treatment) {
    case Treatment::CaptionHint:
      c.caption = ComponentCaption(lines, form, n, c.caption);
      c.hint = ComponentHint(lines, form, n, c.hint);
      break;
    case Treatment::LabelCaption: {
      std::string v = ComponentText(lines, form, n, "Caption", "");
      if (!v.empty()) c.caption = JoinLinesAt(v, kLineBreakMark);
      c.hint = ComponentHint(lines, form, n, c.hint);
      break;
    }
    case Treatment::Lines: {
      c.hint = ComponentHint(lines, form, n, c.hint);
      std::string v = ComponentText(lines, form, n, "Lines", "");
      if (!v.empty()) c.lines = SplitText(v, kLineBreakMark, true);
      break;
    }
    case Treatment::Items: {
      c.hint = ComponentHint(lines, form, n, c.hint);
      std::string v = ComponentText(lines, form, n, "Items", "");
      if (!v.empty()) {
        c.items = SplitText(v, kLineBreakMark, false);
        c.itemIndex = -1;
      }
      break;
    }
    case Treatment::Columns:
      for (size_t i = 0; i < c.columns.size(); ++i)
        c.columns[i].caption =
            ComponentText(lines, form, n, "Col_" + std::to_string(i) + ".Caption", c.columns[i].caption);
      break;
  }
  c.Changed();
}

}  // namespace

std::string ComponentText(const std::vector<std::string>& lines, const std::string& form, const std::string& component,
                          const std::string& property, const std::string& def) {
  std::string v = LinesValue(lines, form + "." + component + "." + property);
  return v.empty() ? def : v;
}

std::string ComponentCaption(const std::vector<std::string>& lines, const std::string& form,
                             const std::string& component, const std::string& def) {
  return ComponentText(lines, form, component, "Caption", def);
}

std::string ComponentHint(const std::vector<std::string>& lines, const std::string& form, const std::string& component,
                          const std::string& def) {
  return ComponentText(lines, form, component, "Hint", def);
}

void TranslateComponents(Component& component, const std::vector<std::string>& lines) {
  const std::string& form = component.name;
  if (component.IsKind("TForm")) {
    component.caption = ComponentCaption(lines, form, form, component.caption);
    component.hint = ComponentHint(lines, form, form, component.hint);
    component.Changed();
  }
  // A copy: a listener may react to a change by adding components.
  std::vector<Component*> owned = component.Owned();
  for (Component* c : owned)
    Translate(*c, form, lines);
}

void RestoreComponentTexts(Component& component, const Component& original) {
  auto restore = [](Component& c, const Component& o) {
    c.caption = o.caption;
    c.hint = o.hint;
    c.lines = o.lines;
    c.items = o.items;
    for (size_t i = 0; i < c.columns.size() && i < o.columns.size(); ++i)
      c.columns[i].caption = o.columns[i].caption;
    c.Changed();
  };
  restore(component, original);
  for (const Component* o : original.Owned())
    if (Component* c = o->name.empty() ? nullptr : component.FindOwned(o->name)) restore(*c, *o);
}

}  // namespace tov
