#include "controls/LbSpeedButton.h"

#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "controls/HighContrast.h"
#include "platform/Platform.h"

namespace tov {

TLbPresetColors GetPreDefinedColors(TLbColorStyle preset) {
  switch (preset) {
    case lcsGold:
      return {
          RGB(255, 204, 51), RGB(255, 245, 200), RGB(128, 96, 0), RGB(255, 230, 120), RGB(230, 170, 0), clBlack, false,
          bsModern};
    case lcsChrome:
      return {RGB(192, 192, 192), clWhite, RGB(64, 64, 64), RGB(224, 224, 224),
              RGB(160, 160, 160), clBlack, false,           bsModern};
    case lcsBlue:
      return {
          RGB(64, 112, 208), RGB(200, 220, 255), RGB(0, 32, 96), RGB(96, 144, 240), RGB(32, 80, 176), clWhite, false,
          bsModern};
    case lcsRed:
      return {RGB(208, 48, 48), RGB(255, 200, 200), RGB(96, 0, 0), RGB(240, 96, 96), RGB(176, 16, 16), clWhite, false,
              bsModern};
    case lcsUltraFlat1:
      return {clBtnFace, clBtnHighlight, clBtnShadow, RGB(182, 189, 210), RGB(133, 146, 181), clBlack, true, bsNormal};
    case lcsUltraFlat2:
      return {clBtnFace, RGB(10, 36, 106), RGB(10, 36, 106), RGB(182, 189, 210), RGB(133, 146, 181), clBlack,
              true,      bsNormal};
    case lcsUltraFlatXP:
      return {clBtnFace, RGB(49, 106, 197), RGB(49, 106, 197), RGB(193, 210, 238), RGB(152, 181, 226), clBlack,
              true,      bsNormal};
    case lcsAqua:
      return {RGB(96, 168, 232), clWhite, RGB(32, 80, 144), RGB(144, 200, 248), RGB(64, 136, 208),
              clBlack,           false,   bsModern};
    case lcsQuickenL:
      return {RGB(240, 232, 208), clWhite, RGB(128, 112, 80), RGB(255, 248, 224), RGB(216, 200, 160), clBlack, false,
              bsQuicken};
    case lcsDefault:
    case lcsCustom:
    default:
      return {clBtnFace, clBtnHighlight, clBtnShadow, clNone, clNone, clBtnText, false, bsNormal};
  }
}

TLbSpeedButton::TLbSpeedButton(IButtonParent* parent) : parent_(parent) {}

TLbSpeedButton::~TLbSpeedButton() { *alive_ = false; }

void TLbSpeedButton::SetBounds(int left, int top, int width, int height) {
  Rect r = tov::BoundsRect(left, top, width < 0 ? 0 : width, height < 0 ? 0 : height);
  if (r == bounds_) return;
  Invalidate();
  bounds_ = r;
  Invalidate();
}

void TLbSpeedButton::Repaint() {
  if (transparent_) {
    Invalidate();
  } else if (parent_ && visible_) {
    parent_->InvalidateArea(bounds_, true);
  }
}

void TLbSpeedButton::Invalidate() {
  if (parent_ && visible_) parent_->InvalidateArea(bounds_, false);
}

bool TLbSpeedButton::CanReact() const { return enabled_ && visible_ && parent_ && parent_->Showing(); }

void TLbSpeedButton::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Invalidate();
}

void TLbSpeedButton::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Repaint();
}

void TLbSpeedButton::SetLayout(TLbSpeedButtonLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Repaint();
}

void TLbSpeedButton::SetStyle(TLbSpeedButtonStyle v) {
  // Gradients need more than a palette screen.
  if (v == bsModern && Canvases().ScreenBitsPerPixel() <= 8) v = bsNormal;
  if (v == style_) return;
  style_ = v;
  Invalidate();
}

void TLbSpeedButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Repaint();
}

void TLbSpeedButton::SetColor(Color v) {
  if (v == color_) return;
  color_ = v;
  Invalidate();
}

void TLbSpeedButton::SetLightColor(Color v) {
  if (v == lightColor_) return;
  lightColor_ = v;
  Repaint();
}

void TLbSpeedButton::SetShadowColor(Color v) {
  if (v == shadowColor_) return;
  shadowColor_ = v;
  Repaint();
}

void TLbSpeedButton::SetHotTrackColor(Color v) {
  if (v == hotTrackColor_) return;
  hotTrackColor_ = v;
  Invalidate();
}

void TLbSpeedButton::SetColorWhenDown(Color v) {
  if (v == colorWhenDown_) return;
  colorWhenDown_ = v;
  Repaint();
}

void TLbSpeedButton::SetFont(const FontSpec& v) {
  if (v == font_) return;
  font_ = v;
  Invalidate();
}

void TLbSpeedButton::SetHotTrackFont(const FontSpec& v) {
  hotTrackFont_ = v;
  if (useHotTrackFont_ && mouseInside_) Invalidate();
}

void TLbSpeedButton::SetUseHotTrackFont(bool v) {
  if (v == useHotTrackFont_) return;
  useHotTrackFont_ = v;
  if (mouseInside_) Invalidate();
}

void TLbSpeedButton::SetGlyph(const Bitmap& v) {
  glyph_ = v;
  numGlyphs_ = glyph_.height > 0 ? glyph_.width / glyph_.height : 0;
  Invalidate();
}

void TLbSpeedButton::SetNumGlyphs(int v) {
  if (v < 0) v = 0;
  if (v == numGlyphs_) return;
  numGlyphs_ = v;
  Invalidate();
}

void TLbSpeedButton::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  Repaint();
}

void TLbSpeedButton::SetDown(bool v) {
  if (v == down_) return;
  down_ = v;
  if (down_ && groupIndex_ != 0) ReleaseGroup();
  Repaint();
}

void TLbSpeedButton::ReleaseGroup() {
  if (!parent_) return;
  for (TLbSpeedButton* b : parent_->SpeedButtons()) {
    if (b != this && b->groupIndex_ == groupIndex_ && b->down_) {
      b->down_ = false;
      b->Repaint();
    }
  }
}

void TLbSpeedButton::SetGroupIndex(int v) {
  if (v == groupIndex_) return;
  groupIndex_ = v;
  Repaint();
}

void TLbSpeedButton::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

void TLbSpeedButton::SetDropDownMenu(bool v) {
  if (v == dropDownMenu_) return;
  dropDownMenu_ = v;
  Repaint();
}

void TLbSpeedButton::SetSlowDecease(bool v) {
  if (v == slowDecease_) return;
  slowDecease_ = v;
  if (!v) {
    hotStep_ = 0;
    fading_ = false;
  }
}

void TLbSpeedButton::SetColorStyle(TLbColorStyle v) {
  colorStyle_ = v;
  if (v == lcsCustom) return;
  TLbPresetColors p = GetPreDefinedColors(v);
  color_ = p.color;
  lightColor_ = p.lightColor;
  shadowColor_ = p.shadowColor;
  hotTrackColor_ = p.hotTrackColor;
  colorWhenDown_ = p.colorWhenDown;
  flat_ = p.flat;
  font_.color = p.fontColor;
  SetStyle(p.style);
  Invalidate();
}

void TLbSpeedButton::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Invalidate();
}

void TLbSpeedButton::SetVisible(bool v) {
  if (v == visible_) return;
  if (!v) Invalidate();
  visible_ = v;
  if (v) Invalidate();
}

void TLbSpeedButton::MouseEnter() {
  if (!CanReact()) return;
  mouseInside_ = true;
  hotStep_ = 8;
  fading_ = false;  // a fade still running would darken a button the mouse is on
  Repaint();
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TLbSpeedButton::MouseLeave() {
  mouseInside_ = false;
  if (!slowDecease_) {
    hotStep_ = 0;
    Repaint();
  } else if (hotStep_ > 0) {
    fading_ = true;
    if (parent_) parent_->FadeRequested(*this);
  }
  if (CanReact() && OnMouseExit) OnMouseExit(*this);
}

bool TLbSpeedButton::FadeStep() {
  if (!fading_) return false;
  if (--hotStep_ < 1) {
    hotStep_ = 0;
    fading_ = false;
  }
  Repaint();
  return fading_;
}

void TLbSpeedButton::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  if (button == mbLeft) clicked_ = true;
  std::shared_ptr<bool> alive = alive_;
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  if (!*alive || button != mbLeft) return;
  if (groupIndex_ == 0 || !down_) {
    SetDown(true);
  } else if (allowAllUp_) {
    SetDown(false);
  }
}

void TLbSpeedButton::DoubleClick(TMouseButton button, uint32_t shift, int x, int y) {
  // The second press of a double click holds the button down like the first
  // but ends in no click of its own.
  bool clicked = clicked_;
  MouseDown(button, shift | ssDouble, x, y);
  if (*alive_ && button == mbLeft) clicked_ = clicked;
}

void TLbSpeedButton::MouseMove(uint32_t shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TLbSpeedButton::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  std::shared_ptr<bool> alive = alive_;
  if (button == mbLeft && clicked_) {
    clicked_ = false;
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
    if (!*alive) return;
  }
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
  if (!*alive) return;
  if (groupIndex_ == 0) SetDown(false);
}

void TLbSpeedButton::Click() {
  std::shared_ptr<bool> alive = alive_;
  if (popupMenu && dropDownMenu_ && parent_) {
    parent_->PopupAt(*popupMenu, parent_->ClientToScreen({bounds_.right, bounds_.bottom}));
    if (!*alive) return;
  }
  if (OnClick) OnClick(*this);
}

bool TLbSpeedButton::DialogChar(uint32_t key) {
  // The accelerator is the character after a single "&".
  uint32_t accel = 0;
  for (size_t i = 0; i + 1 < caption_.size(); ++i) {
    if (caption_[i] != '&') continue;
    if (caption_[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t at = i + 1;
    accel = NextCodePoint(caption_, &at);
    break;
  }
  // Any letter, in either case (an "&\u00E8" answers to \u00C8 too).
  if (accel == 0 || UpperCodePoint(accel) != UpperCodePoint(key)) return false;
  if (!CanReact()) return false;
  std::shared_ptr<bool> alive = alive_;
  bool was = down_;
  down_ = true;
  Repaint();
  Click();
  if (!*alive) return true;
  down_ = was;
  Repaint();
  return true;
}

void TLbSpeedButton::SetHighContrast(bool on, bool focusLook) {
  highContrast_ = on;
  focusLook_ = on && focusLook;
}

bool TLbSpeedButton::Keyed() const {
  if (highContrast_) return false;
  return transparent_ || style_ == bsModern || style_ == bsShape || style_ == bsQuicken;
}

std::unique_ptr<ICanvas> TLbSpeedButton::PaintImage() {
  auto image = Canvases().CreateBitmapCanvas(Width(), Height());
  if (!image) return nullptr;
  if (highContrast_) {
    // The system's colours on the plain raised button: none of its own.
    const LookState state = !enabled_      ? LookState::Disabled
                            : down_        ? LookState::Down
                            : focusLook_   ? LookState::Focused
                            : mouseInside_ ? LookState::Hot
                                           : LookState::Normal;
    const SystemLook look = HighContrastLook(state);
    FontSpec f = font_;
    f.color = look.text;
    LbPaintButton(*image, Width(), Height(), 0, numGlyphs_, glyph_, down_, mouseInside_, false, true, flat_, wordWrap_,
                  popupMenu != nullptr && dropDownMenu_, bsNormal, look.face, look.face, clNone, look.light,
                  look.shadow, f, layout_, caption_, alignment_);
    return image;
  }
  if (Keyed()) image->FillRect({0, 0, Width(), Height()}, clFuchsia);
  const FontSpec& f = (mouseInside_ && useHotTrackFont_) ? hotTrackFont_ : font_;
  LbPaintButton(*image, Width(), Height(), hotStep_, numGlyphs_, glyph_, down_, mouseInside_, transparent_, enabled_,
                flat_, wordWrap_, popupMenu != nullptr && dropDownMenu_, style_, color_, colorWhenDown_, hotTrackColor_,
                lightColor_, shadowColor_, f, layout_, caption_, alignment_);
  return image;
}

void TLbSpeedButton::PaintTo(ICanvas& target) {
  if (!visible_ || Width() <= 0 || Height() <= 0) return;
  auto image = PaintImage();
  if (!image) return;
  target.CopyFrom(*image, {0, 0, Width(), Height()}, {Left(), Top()}, Keyed() ? clFuchsia : kNoColor);
}

}  // namespace tov
