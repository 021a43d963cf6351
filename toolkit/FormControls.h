// How the components of a form appear on a dialog: the neutral description
// of its frame and of each control, read from the components' properties
// ("BorderStyle", "Position", "Font.Style", "ReadOnly", "Style" ...).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/NativeForm.h"

namespace tov {

class Component;

// How a component is shown on a dialog.
enum class Realisation {
  None,       // not shown: menus, timers, image lists, kinds without a control yet
  Container,  // painted by the dialog itself: panels, group boxes, scroll boxes
  Control,    // a native control
  Timer,      // a timer of the dialog
};

Realisation RealisationOf(const Component& c);

// FontStyle bits of a "Font.Style" property such as "[fsBold,fsItalic]".
uint32_t FontStyleOf(const Component& c);
// The font a component's texts are drawn in: the system's message font in
// the component's style, in the button text colour.
FontSpec FormFontOf(const Component& c);

// A component's "Color" property (a colour number, system colours as
// 0x800000nn), or def when it has none or it cannot be read.
Color ComponentColor(const Component& c, Color def);
// Sets a colour property ("Color" unless named) as a colour number.
void SetComponentColor(Component& c, Color color, const char* property = "Color");
// A component's font as its "Font.*" properties give it (def where one is
// missing), and back.
FontSpec ComponentFont(const Component& c, const FontSpec& def);
void SetComponentFont(Component& c, const FontSpec& font);
int IntProperty(const Component& c, const char* name, int def);
int ModalResultOf(const Component& c);

// The scroll box between the component and the form, or null.
const Component* ScrollBoxOf(const Component& c, const Component& form);
// The component's rectangle in the form's client coordinates, or in those
// of the content of the scroll box it lies in.
Rect RectOnForm(const Component& c, const Component& form);
// It and every parent up to the form are visible / enabled.
bool ShownOnForm(const Component& c, const Component& form);
bool UsableOnForm(const Component& c, const Component& form);

FrameDesc DescribeFrame(const Component& form);
// The control of a component whose realisation is Control.
ControlDesc DescribeControl(const Component& c, const Component& form);

// A date picker's date as its component keeps it: "2026-12-09", empty for
// none.
bool ParseIsoDate(const std::string& text, DateTime* date);
std::string IsoDateText(const DateTime& date);

std::string JoinLines(const std::vector<std::string>& lines);  // with CR LF
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace tov
