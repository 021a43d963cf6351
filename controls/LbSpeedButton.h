// The bar's speed button: a windowless control that paints itself completely
// through LbPaintButton, shows a hot state while the mouse is over it and a
// down state while pressed, and raises a click. It lives on a parent window
// (IButtonParent) that paints it, hands it the mouse events that fall on it
// and repaints the parts it asks for.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Colors.h"
#include "controls/LbPaintButton.h"

namespace tov {

class Component;
class TLbSpeedButton;

enum TMouseButton : uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
// Shift state bits of mouse events.
enum TShiftState : uint32_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};

enum TLbColorStyle : uint8_t {
  lcsCustom,
  lcsGold,
  lcsChrome,
  lcsBlue,
  lcsRed,
  lcsUltraFlat1,
  lcsUltraFlat2,
  lcsUltraFlatXP,
  lcsAqua,
  lcsDefault,
  lcsQuickenL
};

// What a preset gives a button.
struct TLbPresetColors {
  Color color, lightColor, shadowColor, hotTrackColor, colorWhenDown, fontColor;
  bool flat;
  TLbSpeedButtonStyle style;
};
TLbPresetColors GetPreDefinedColors(TLbColorStyle preset);

// The window a button sits on.
class IButtonParent {
 public:
  virtual ~IButtonParent() = default;
  // Marks part of the client area for painting; with now, it is painted
  // before the call returns.
  virtual void InvalidateArea(const Rect& area, bool now) = 0;
  // The parent is visible on screen.
  virtual bool Showing() = 0;
  virtual Point ClientToScreen(Point p) = 0;
  // The speed buttons on this parent, for grouped buttons.
  virtual std::vector<TLbSpeedButton*> SpeedButtons() = 0;
  // Opens a pop-up menu at a screen point.
  virtual void PopupAt(Component& menu, Point screen) {
    (void)menu;
    (void)screen;
  }
  // A button wants FadeStep called every 30 ms until it answers false.
  virtual void FadeRequested(TLbSpeedButton& button) { (void)button; }
};

class TLbSpeedButton {
 public:
  using NotifyEvent = std::function<void(TLbSpeedButton& sender)>;
  using MouseEvent = std::function<void(TLbSpeedButton& sender, TMouseButton button, uint32_t shift, int x, int y)>;
  using MouseMoveEvent = std::function<void(TLbSpeedButton& sender, uint32_t shift, int x, int y)>;

  explicit TLbSpeedButton(IButtonParent* parent = nullptr);
  ~TLbSpeedButton();
  TLbSpeedButton(const TLbSpeedButton&) = delete;
  TLbSpeedButton& operator=(const TLbSpeedButton&) = delete;

  // --- Place on the parent.
  IButtonParent* Parent() const { return parent_; }
  void SetParent(IButtonParent* parent) { parent_ = parent; }
  const Rect& BoundsRect() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int w) { SetBounds(Left(), Top(), w, Height()); }
  void SetHeight(int h) { SetBounds(Left(), Top(), Width(), h); }

  // --- Properties; setters repaint or invalidate as the control does.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TLbSpeedButtonLayout Layout() const { return layout_; }
  void SetLayout(TLbSpeedButtonLayout v);
  TLbSpeedButtonStyle Style() const { return style_; }
  void SetStyle(TLbSpeedButtonStyle v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  Color ButtonColor() const { return color_; }
  void SetColor(Color v);
  Color LightColor() const { return lightColor_; }
  void SetLightColor(Color v);
  Color ShadowColor() const { return shadowColor_; }
  void SetShadowColor(Color v);
  Color HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(Color v);
  Color ColorWhenDown() const { return colorWhenDown_; }
  void SetColorWhenDown(Color v);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& v);
  const FontSpec& HotTrackFont() const { return hotTrackFont_; }
  void SetHotTrackFont(const FontSpec& v);
  bool UseHotTrackFont() const { return useHotTrackFont_; }
  void SetUseHotTrackFont(bool v);
  const Bitmap& Glyph() const { return glyph_; }
  // Copies the bitmap; NumGlyphs becomes its width divided by its height.
  void SetGlyph(const Bitmap& v);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(bool v);
  bool SlowDecease() const { return slowDecease_; }
  void SetSlowDecease(bool v);
  TLbColorStyle ColorStyle() const { return colorStyle_; }
  void SetColorStyle(TLbColorStyle v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // The system's high-contrast look (controls/HighContrast) instead of the
  // button's own colours and style; focusLook: it has the keyboard focus.
  // Both only mark the button: its parent paints it again.
  bool HighContrast() const { return highContrast_; }
  void SetHighContrast(bool on, bool focusLook);

  // Plain properties the parent and the bar use.
  intptr_t tag = 0;
  std::string hint;
  bool showHint = false;
  Component* popupMenu = nullptr;

  NotifyEvent OnClick, OnMouseEnter, OnMouseExit;
  MouseEvent OnMouseDown, OnMouseUp;
  MouseMoveEvent OnMouseMove;

  // --- Run-time state.
  bool MouseInside() const { return mouseInside_; }
  int HotStep() const { return hotStep_; }

  // --- What the parent tells the button; coordinates are the button's own.
  void MouseEnter();
  void MouseLeave();
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y);
  void DoubleClick(TMouseButton button, uint32_t shift, int x, int y);
  void MouseMove(uint32_t shift, int x, int y);
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y);
  // The accelerator key of the caption ("&x"); true when it was this button's.
  bool DialogChar(uint32_t key);
  void Click();
  // One step of the fade-out; false when the fade is over.
  bool FadeStep();
  // True while the left button, pressed on this button, is held.
  bool Capturing() const { return clicked_; }

  // Paints the button onto the parent's canvas at its bounds, through an
  // off-screen bitmap of its size copied in one operation.
  void PaintTo(ICanvas& parentCanvas);
  // The button image alone, as PaintTo copies it (transparent parts fuchsia).
  std::unique_ptr<ICanvas> PaintImage();

 private:
  void Repaint();     // paint at once (a transparent button is invalidated)
  void Invalidate();  // paint later
  bool CanReact() const;
  void ReleaseGroup();
  bool Keyed() const;  // parts of its image left transparent (fuchsia)

  IButtonParent* parent_;
  Rect bounds_{0, 0, 100, 23};
  std::string caption_;
  TAlignment alignment_ = taLeftJustify;
  TLbSpeedButtonLayout layout_ = blGlyphLeft;
  TLbSpeedButtonStyle style_ = bsNormal;
  bool flat_ = false;
  Color color_ = clBtnFace;
  Color lightColor_ = clWhite;
  Color shadowColor_ = clBlack;
  Color hotTrackColor_ = clNone;
  Color colorWhenDown_ = clNone;
  FontSpec font_{"MS Sans Serif", 8, 0, clWindowText};
  FontSpec hotTrackFont_{"MS Sans Serif", 8, 0, clWindowText};
  bool useHotTrackFont_ = false;
  Bitmap glyph_;
  int numGlyphs_ = 0;
  bool wordWrap_ = false;
  bool down_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool transparent_ = false;
  bool dropDownMenu_ = false;
  bool slowDecease_ = false;
  bool fading_ = false;
  TLbColorStyle colorStyle_ = lcsCustom;
  bool enabled_ = true;
  bool visible_ = true;
  bool mouseInside_ = false;
  int hotStep_ = 0;
  bool clicked_ = false;
  bool highContrast_ = false;
  bool focusLook_ = false;
  // Tells event code that runs after a handler whether the button survived it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tov
