// Skins: the pictures of the dialogs' buttons, loaded from the "pics" folder
// beside the executable and kept in a process-wide cache, and the small
// appearance helpers the windows share: lighter and darker colours, a flat
// panel's colours, and building and trimming menus.
#pragma once
#include <cstdint>
#include <string>

#include "forms/Component.h"
#include "platform/Canvas.h"

namespace tov {

// Each of red, green and blue plus the amount, at most 255; the high byte is
// cleared. The value is taken as it is: a system colour is not resolved.
Color Lighter(Color color, int amount);
// The colour's RGB value (system colours resolved), each channel minus the
// amount, at least 0.
Color Darker(Color color, int amount);

// --- Pictures. A picture named N is "pics\N.bmp" or "pics\N.png" beside the
// executable; a PNG button also uses N + "_Over" and N + "_Down". Loaded
// pictures stay in a process-wide cache (bitmaps under N, PNG images under
// "PNG." + N, names compared without regard to case) until it is freed; a
// file changed on disk is not read again. A file that is not a readable
// picture gives none and is not cached.

// The cached picture of that name, else (preferring PNG) the PNG image, else
// the bitmap; null when there is no such file.
const Picture* LoadPicture(const std::string& name, bool preferPng);
const Picture* LoadPng(const std::string& name);
// A cached picture by its cache key (N or "PNG." + N), for whoever draws the
// components that name it; null when it is not cached.
const Picture* CachedPicture(const std::string& key);
// Frees the cache with all its pictures.
void FreePictureCache();

// Component properties that name a button's pictures by cache key.
inline constexpr const char* kGlyphProperty = "Glyph";
inline constexpr const char* kNumGlyphsProperty = "NumGlyphs";
inline constexpr const char* kPngImageProperty = "PngImage";
inline constexpr const char* kPngImageOverProperty = "PngImageOver";
inline constexpr const char* kPngImageDownProperty = "PngImageDown";

// A "TPNGButton" gets its three PNG images; the bitmap button classes
// ("TBitBtn", "TSpeedButton", "TRxSpeedButton", "TFlatButton",
// "TFlatSpeedButton", "TSpeedItem") get the bitmap as their glyph (no
// picture clears it) and the glyph count; any other class nothing.
void SetButtonPicture(Component& button, const std::string& name, int glyphCount);
// The normal, over and down images from name, name + "_Over" and name +
// "_Down"; an image whose file is missing leaves that image as it was.
void SetPngButtonImages(Component& button, const std::string& name);

// A flat panel's "Color", "ColorHighLight" (Lighter) and "ColorShadow"
// (Darker) properties, as decimal colour values.
void SetFlatPanelColors(Component& panel, Color color, int amount);

// --- Menus.
// Frees all sub-items of a menu item, from the last to the first.
void ClearMenu(Component& item);
// Without fromEnd, frees the sub-items after the first count ones; with it,
// those before the last count ones (from the last to the first).
void TrimMenu(Component& item, int count, bool fromEnd);
// A new menu item owned by owner (the parent's form when null), with that
// name, caption, tag and click handler, inserted at position (appended when
// negative).
Component& AddMenuItem(Component* owner, Component& parent, const std::string& name, const std::string& caption,
                       EventFn onClick, intptr_t tag, int position);
// Appends a separator (caption "-") owned by owner.
Component& AddMenuSeparator(Component& parent, Component* owner);

}  // namespace tov
