// Drawing for forms shown on Win32: the fonts of a form, the containers the
// form paints itself (panels with their bevels, group boxes) and buttons
// drawn with their picture beside the caption.
#pragma once
#include <cstdint>
#include <map>

#include "platform/win32/WinApi.h"

namespace tov {
class Component;
}  // namespace tov

namespace tov::win32 {

// FontStyle bits from a "Font.Style" property such as "[fsBold,fsItalic]".
uint32_t FontStyleOf(const Component& c);

// The GUI font (the message font of the system) in each style a form asks
// for; all of them are freed with the set.
class FormFonts {
 public:
  FormFonts() = default;
  ~FormFonts();
  FormFonts(const FormFonts&) = delete;
  FormFonts& operator=(const FormFonts&) = delete;
  HFONT Get(uint32_t style);

 private:
  std::map<uint32_t, HFONT> fonts_;
};

// A component's "Color" property as GDI takes it (system colours resolved);
// def when it has none or it cannot be read.
COLORREF ComponentColor(const Component& c, COLORREF def);

// Paints a container the form draws itself onto r (in dc's coordinates):
// its background, bevels or frame and caption.
void PaintContainer(HDC dc, const Component& c, const RECT& r, HFONT font);

// An owner-drawn button: the push-button frame (with the heavier border of
// the button Enter presses), the picture named by the button beside its
// caption, the disabled look and the focus rectangle.
void DrawPictureButton(const DRAWITEMSTRUCT& dis, const Component& c, bool isDefault, HFONT font);

}  // namespace tov::win32
