#include "toolkit/FormControls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "controls/HighContrast.h"
#include "forms/Component.h"
#include "platform/DpiCanvas.h"
#include "platform/Platform.h"

namespace tov {

namespace {

constexpr Color kBtnText = 0x80000012;  // COLOR_BTNTEXT

// A label that sizes itself takes the size of its text, in the form's
// 96-DPI units: measured at the screen's scale (a font does not grow in
// proportion with it) and turned into the units that hold it. Taken as
// units, the screen's pixels would be scaled once more when shown, and the
// label would cover the edit or combo box beside it.
Rect AutoSizedLabel(const Component& c, Rect r) {
  const bool wrap = c.Property("WordWrap") == "True";
  std::unique_ptr<ICanvas> screen = Canvases().CreateBitmapCanvas(1, 1);
  DpiCanvas canvas(*screen, Dpi(Canvases().ScreenDpi()));
  canvas.SetFont(FormFontOf(c));
  Rect calc{0, 0, wrap ? r.Width() : 0, 0};
  uint32_t format = kDtCalcRect | kDtLeft | (wrap ? uint32_t(kDtWordBreak) : 0u);
  if (c.Property("ShowAccelChar") == "False") format |= kDtNoPrefix;
  canvas.DrawTextIn(c.caption.empty() ? " " : c.caption, calc, format);
  r.right = r.left + calc.Width();
  r.bottom = r.top + calc.Height();
  return r;
}

}  // namespace

Realisation RealisationOf(const Component& c) {
  if (c.painter) return Realisation::Control;
  switch (c.kind) {
    case ComponentKind::Timer:
      return Realisation::Timer;
    case ComponentKind::Panel:
    case ComponentKind::FlatPanel:
    case ComponentKind::GroupBox:
      return Realisation::Container;
    case ComponentKind::Label:
    case ComponentKind::Edit:
    case ComponentKind::SpinEdit:
    case ComponentKind::Memo:
    case ComponentKind::Button:
    case ComponentKind::SpeedButton:
    case ComponentKind::PngButton:
    case ComponentKind::CheckBox:
    case ComponentKind::RadioButton:
    case ComponentKind::ComboBox:
    case ComponentKind::ListBox:
    case ComponentKind::ScrollBox:
    case ComponentKind::TreeView:
    case ComponentKind::ListView:
    case ComponentKind::UpDown:
    case ComponentKind::DateTimePicker:
    case ComponentKind::Splitter:
    case ComponentKind::ComboEdit:
    case ComponentKind::DirectoryEdit:
    case ComponentKind::FilenameEdit:
      return Realisation::Control;
    default:
      // Pages, track bars, images, shapes
      // and bevels have no control on dialogs yet; a page control's pages
      // are left out with everything on them.
      return Realisation::None;
  }
}

uint32_t FontStyleOf(const Component& c) {
  const std::string s = c.Property("Font.Style");
  uint32_t style = 0;
  if (s.find("fsBold") != std::string::npos) style |= kFontBold;
  if (s.find("fsItalic") != std::string::npos) style |= kFontItalic;
  if (s.find("fsUnderline") != std::string::npos) style |= kFontUnderline;
  if (s.find("fsStrikeOut") != std::string::npos) style |= kFontStrikeOut;
  return style;
}

FontSpec FormFontOf(const Component& c) {
  FontSpec f;
  f.name.clear();  // the system's message font
  f.size = 8;
  f.style = FontStyleOf(c);
  f.color = kBtnText;
  return f;
}

Color ComponentColor(const Component& c, Color def) {
  const std::string v = c.Property("Color");
  if (v.empty()) return def;
  char* end = nullptr;
  const unsigned long n = std::strtoul(v.c_str(), &end, 10);
  if (!end || *end != '\0' || Color(n) == kNoColor) return def;
  return Color(n);
}

void SetComponentColor(Component& c, Color color, const char* property) {
  c.properties[property] = std::to_string(uint32_t(color));
}

FontSpec ComponentFont(const Component& c, const FontSpec& def) {
  FontSpec f = def;
  if (std::string name = c.Property("Font.Name"); !name.empty()) f.name = name;
  f.size = IntProperty(c, "Font.Size", def.size);
  if (!c.Property("Font.Style").empty()) f.style = FontStyleOf(c);
  const std::string colour = c.Property("Font.Color");
  if (!colour.empty()) f.color = Color(std::strtoul(colour.c_str(), nullptr, 10));
  return f;
}

void SetComponentFont(Component& c, const FontSpec& font) {
  c.properties["Font.Name"] = font.name;
  c.properties["Font.Size"] = std::to_string(font.size);
  std::string style;
  for (auto [bit, name] : {std::pair{kFontBold, "fsBold"}, std::pair{kFontItalic, "fsItalic"},
                           std::pair{kFontUnderline, "fsUnderline"}, std::pair{kFontStrikeOut, "fsStrikeOut"}})
    if (font.style & bit) style += std::string(style.empty() ? "" : ",") + name;
  c.properties["Font.Style"] = "[" + style + "]";
  SetComponentColor(c, font.color, "Font.Color");
  c.Changed();
}

int IntProperty(const Component& c, const char* name, int def) {
  const std::string v = c.Property(name);
  if (v.empty()) return def;
  char* end = nullptr;
  const long n = std::strtol(v.c_str(), &end, 10);
  return end && *end == '\0' ? int(n) : def;
}

int ModalResultOf(const Component& c) { return IntProperty(c, "ModalResult", 0); }

const Component* ScrollBoxOf(const Component& c, const Component& form) {
  for (const Component* p = c.Parent(); p && p != &form; p = p->Parent())
    if (p->kind == ComponentKind::ScrollBox) return p;
  return nullptr;
}

Rect RectOnForm(const Component& c, const Component& form) {
  const Component* top = ScrollBoxOf(c, form);
  if (!top) top = &form;
  Rect r = c.bounds;
  for (const Component* p = c.Parent(); p && p != top; p = p->Parent()) {
    r.left += p->bounds.left;
    r.right += p->bounds.left;
    r.top += p->bounds.top;
    r.bottom += p->bounds.top;
  }
  return r;
}

bool ShownOnForm(const Component& c, const Component& form) {
  for (const Component* p = &c; p && p != &form; p = p->Parent())
    if (!p->visible) return false;
  return true;
}

bool UsableOnForm(const Component& c, const Component& form) {
  for (const Component* p = &c; p; p = p->Parent()) {
    if (!p->enabled) return false;
    if (p == &form) break;
  }
  return true;
}

FrameDesc DescribeFrame(const Component& form) {
  FrameDesc f;
  f.name = form.name;
  f.caption = form.caption;
  f.bounds = form.bounds;
  const std::string border = form.Property("BorderStyle", "bsSizeable");
  if (border == "bsDialog")
    f.border = FrameBorder::Dialog;
  else if (border == "bsSingle")
    f.border = FrameBorder::Single;
  else if (border == "bsToolWindow")
    f.border = FrameBorder::ToolWindow;
  else if (border == "bsSizeToolWin")
    f.border = FrameBorder::SizeToolWindow;
  else if (border == "bsNone")
    f.border = FrameBorder::None;
  const std::string position = form.Property("Position", "poDesigned");
  if (position == "poScreenCenter" || position == "poDesktopCenter")
    f.place = FramePlace::ScreenCentre;
  else if (position == "poOwnerFormCenter" || position == "poMainFormCenter")
    f.place = FramePlace::OwnerCentre;
  return f;
}

ControlDesc DescribeControl(const Component& c, const Component& form) {
  ControlDesc d;
  d.name = c.name;
  d.bounds = RectOnForm(c, form);
  d.text = c.caption;
  d.enabled = UsableOnForm(c, form);
  d.visible = ShownOnForm(c, form);
  d.readOnly = c.Property("ReadOnly") == "True";
  d.noPrefix = c.Property("ShowAccelChar") == "False";
  d.font = FormFontOf(c);
  d.tooltip = c.hint;
  if (c.painter) {
    d.type = ControlType::Painted;
    d.takesFocus = false;
    d.reportsClicks = true;
    return d;
  }
  switch (c.kind) {
    case ComponentKind::Label:
      d.type = ControlType::Label;
      d.takesFocus = false;
      if (!c.Property("Link").empty()) {
        // A link: blue, underlined, a hand over it, and it can be clicked.
        d.reportsClicks = d.handCursor = true;
        d.font.style |= kFontUnderline;
        d.font.color = RGB(0, 0, 255);
      }
      if (c.Property("AutoSize") != "False") d.bounds = AutoSizedLabel(c, d.bounds);
      break;
    case ComponentKind::Edit:
    case ComponentKind::SpinEdit:  // its arrows are an up-down beside it
    case ComponentKind::ComboEdit:
    case ComponentKind::DirectoryEdit:
    case ComponentKind::FilenameEdit: {
      d.type = ControlType::Edit;
      d.hasButton = c.kind != ComponentKind::Edit && c.kind != ComponentKind::SpinEdit;
      d.background = ComponentColor(c, kNoColor);
      const std::string password = c.Property("PasswordChar");
      d.passwordChar = password.empty() || password == "#0" ? 0 : password[0];
      d.reportsDoubleClicks = !c.HandlerName("OnDblClick").empty();
      break;
    }
    case ComponentKind::ScrollBox: {
      d.type = ControlType::ScrollBox;
      d.takesFocus = false;
      d.text.clear();
      // The content reaches the lowest of the controls in it.
      for (size_t i = 0; i < c.ChildCount(); ++i)
        if (c.Child(i).visible) d.contentHeight = std::max(d.contentHeight, c.Child(i).bounds.bottom);
      break;
    }
    case ComponentKind::TreeView:
      // Items as an indented outline: each leading tab or blank is a level.
      d.type = ControlType::TreeView;
      d.text.clear();
      for (const std::string& item : c.items) {
        const size_t depth = std::min(item.find_first_not_of("\t "), item.size());
        d.levels.push_back(int(depth));
        d.items.push_back(item.substr(depth));
      }
      d.itemIndex = c.itemIndex >= 0 && size_t(c.itemIndex) < c.items.size() ? c.itemIndex : -1;
      break;
    case ComponentKind::ListView: {
      // Report mode: the columns, a row each with its image; the selected
      // rows as the component keeps them, within the rows.
      d.type = ControlType::ListView;
      d.text.clear();
      for (const ListColumn& col : c.columns)
        d.columns.push_back(ColumnDesc{col.caption, col.width});
      d.rows = c.rows;
      d.rowImages = c.rowImages;
      d.rowImages.resize(c.rows.size(), -1);
      d.rowIconPaths = c.rowIconPaths;
      d.rowIconPaths.resize(c.rows.size());
      d.multiSelect = c.Property("MultiSelect") == "True";
      d.editCaptions = c.Property("ReadOnly") != "True";
      for (int row : c.selected)
        if (row >= 0 && size_t(row) < c.rows.size() && (d.selectedRows.empty() || row > d.selectedRows.back()) &&
            (d.multiSelect || d.selectedRows.empty()))
          d.selectedRows.push_back(row);
      break;
    }
    case ComponentKind::UpDown:
      d.type = ControlType::UpDown;
      d.takesFocus = false;
      d.text.clear();
      break;
    case ComponentKind::DateTimePicker:
      d.type = ControlType::DatePicker;
      d.hasDate = ParseIsoDate(c.caption, &d.date);
      d.text.clear();
      break;
    case ComponentKind::Splitter: {
      d.type = ControlType::Splitter;
      d.takesFocus = false;
      d.text.clear();
      const std::string align = c.Property("Align", "alLeft");
      d.vertical = align == "alLeft" || align == "alRight";
      break;
    }
    case ComponentKind::Memo:
      d.type = ControlType::Memo;
      d.wrapLines = c.Property("WordWrap") != "False";
      d.text = JoinLines(c.lines);
      break;
    case ComponentKind::CheckBox:
    case ComponentKind::RadioButton:
      d.type = c.kind == ComponentKind::CheckBox ? ControlType::CheckBox : ControlType::RadioButton;
      d.checked = c.checked;
      // One group per parent.
      d.group = int(reinterpret_cast<uintptr_t>(c.Parent()) % 0x7FFFFFFF);
      break;
    case ComponentKind::ComboBox:
    case ComponentKind::ListBox:
      d.type = c.kind == ComponentKind::ComboBox ? ControlType::ComboBox : ControlType::ListBox;
      d.items = c.items;
      d.itemIndex = c.itemIndex >= 0 && size_t(c.itemIndex) < c.items.size() ? c.itemIndex : -1;
      d.listOnly = c.Property("Style") == "csDropDownList";
      if (d.type == ControlType::ComboBox) {
        // Room for the list that drops down.
        d.bounds.bottom = d.bounds.top + std::max(d.bounds.Height(), 21) + 8 * 16;
      } else {
        d.text.clear();
      }
      break;
    default:  // the buttons
      d.type = ControlType::PushButton;
      d.takesFocus = c.kind != ComponentKind::SpeedButton;  // speed buttons take no focus
      break;
  }
  if (d.type != ControlType::Painted && System().HighContrast()) {
    // The system's colours, not the form's own.
    const ControlColours hc = HighContrastControl(d.handCursor);
    d.font.color = hc.text;
    d.background = hc.background;
  }
  return d;
}

bool ParseIsoDate(const std::string& text, DateTime* date) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  if (m == 2 && d == 29 && !(y % 4 == 0 && (y % 100 != 0 || y % 400 == 0))) return false;
  *date = DateTime{};
  date->year = y;
  date->month = m;
  date->day = d;
  return true;
}

std::string IsoDateText(const DateTime& date) {
  char s[16];
  std::snprintf(s, sizeof s, "%04d-%02d-%02d", date.year % 10000, date.month % 100, date.day % 100);
  return s;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string s;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) s += "\r\n";
    s += lines[i];
  }
  return s;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace tov
