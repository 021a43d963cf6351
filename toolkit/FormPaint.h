// What a dialog paints itself, on any canvas: the containers (panels with
// their bevels, flat panels, group boxes) and the buttons with a picture
// beside their caption.
#pragma once
#include "platform/Canvas.h"
#include "platform/NativeForm.h"

namespace tov {

class Component;

// A container onto r (in the canvas's coordinates): its background, bevels
// or frame, and caption.
void PaintContainer(ICanvas& canvas, const Component& c, const Rect& r);
// The dotted focus rectangle: every other pixel of its outline, in the
// system's button-text colour (high contrast shows it).
void PaintFocusRect(ICanvas& canvas, const Rect& r);

// A push button filling the canvas: the raised frame (sunken while pressed,
// with a black outline around the button Enter presses), the picture named
// by the button beside its caption, the disabled look and the focus
// rectangle.
void PaintPictureButton(ICanvas& canvas, const Component& c, const PaintState& state);

}  // namespace tov
