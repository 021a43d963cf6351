#include "controls/ButtonStyle.h"

#include <algorithm>

#include "base/IconSize.h"
#include "controls/Appearance.h"
#include "controls/IconLoader.h"
#include "controls/ShellImages.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "tables/RecordTable.h"

namespace tov {

int32_t FontStyleToColumn(uint32_t style) { return int32_t(style & (kFontBold | kFontItalic | kFontUnderline)); }

uint32_t FontStyleFromColumn(int32_t value) { return uint32_t(value) & (kFontBold | kFontItalic | kFontUnderline); }

int IconPixelSize(bool large, Dpi scale) { return IconSideAt(large, scale); }

namespace {

void ReadFont(TRecordTable& t, const std::string& prefix, FontSpec& f) {
  f.name = t.FieldByName(prefix + "Name").AsString();
  f.size = t.FieldByName(prefix + "Size").AsInteger();
  f.style = FontStyleFromColumn(t.FieldByName(prefix + "Style").AsInteger());
  f.color = Color(t.FieldByName(prefix + "Color").AsInteger());
}

void WriteFont(TRecordTable& t, const std::string& prefix, const FontSpec& f) {
  t.FieldByName(prefix + "Name").SetAsString(f.name);
  t.FieldByName(prefix + "Size").SetAsInteger(f.size);
  t.FieldByName(prefix + "Style").SetAsInteger(FontStyleToColumn(f.style));
  t.FieldByName(prefix + "Color").SetAsInteger(int32_t(f.color));
}

}  // namespace

void TCustomButtonStyle::LoadFromRow(TRecordTable& t) {
  if (TField* f = t.FindField("Ordine")) Ordine = f->AsInteger();
  if (TField* f = t.FindField("Caption")) Caption = f->AsString();
  if (TField* f = t.FindField("Path")) Path = f->AsString();
  Width = t.FieldByName("Width").AsInteger();
  Height = t.FieldByName("Height").AsInteger();
  Color = tov::Color(t.FieldByName("Color").AsInteger());
  LightColor = tov::Color(t.FieldByName("LightColor").AsInteger());
  ShadowColor = tov::Color(t.FieldByName("ShadowColor").AsInteger());
  HotTrackColor = tov::Color(t.FieldByName("HotTrackColor").AsInteger());
  ReadFont(t, "Font", Font);
  ReadFont(t, "SelFont", SelFont);
  AutoSize = t.FieldByName("AutoSize").AsBoolean();
  ShowText = t.FieldByName("ShowText").AsBoolean();
  WordWrap = t.FieldByName("WordWrap").AsBoolean();
  FolderMenu = t.FieldByName("FolderMenu").AsBoolean();
  if (TField* f = t.FindField("RealTime")) RealTime = f->AsBoolean();
  ButtonStyle = uint8_t(t.FieldByName("ButtonStyle").AsInteger());
  HotTrack = t.FieldByName("HotTrack").AsBoolean();
  TextAlignment = uint8_t(t.FieldByName("TextAlignment").AsInteger());
  ImgLayout = uint8_t(t.FieldByName("ImgLayout").AsInteger());
  SmallIcon = t.FieldByName("SmallIcon").AsBoolean();
  ShowIcon = t.FieldByName("ShowIcon").AsBoolean();
}

void TCustomButtonStyle::SaveToRow(TRecordTable& t) {
  t.Edit();
  if (TField* f = t.FindField("Ordine")) f->SetAsInteger(Ordine);
  if (TField* f = t.FindField("Caption")) f->SetAsString(Caption);
  if (TField* f = t.FindField("Path")) f->SetAsString(Path);
  if (TField* f = t.FindField("RealTime")) f->SetAsBoolean(RealTime);
  t.FieldByName("Width").SetAsInteger(Width);
  t.FieldByName("Height").SetAsInteger(Height);
  t.FieldByName("Color").SetAsInteger(int32_t(Color));
  t.FieldByName("LightColor").SetAsInteger(int32_t(LightColor));
  t.FieldByName("ShadowColor").SetAsInteger(int32_t(ShadowColor));
  t.FieldByName("HotTrackColor").SetAsInteger(int32_t(HotTrackColor));
  WriteFont(t, "Font", Font);
  WriteFont(t, "SelFont", SelFont);
  t.FieldByName("AutoSize").SetAsBoolean(AutoSize);
  t.FieldByName("ShowText").SetAsBoolean(ShowText);
  t.FieldByName("WordWrap").SetAsBoolean(WordWrap);
  t.FieldByName("FolderMenu").SetAsBoolean(FolderMenu);
  t.FieldByName("ButtonStyle").SetAsInteger(ButtonStyle);
  t.FieldByName("HotTrack").SetAsBoolean(HotTrack);
  t.FieldByName("TextAlignment").SetAsInteger(TextAlignment);
  t.FieldByName("ImgLayout").SetAsInteger(ImgLayout);
  t.FieldByName("SmallIcon").SetAsBoolean(SmallIcon);
  t.FieldByName("ShowIcon").SetAsBoolean(ShowIcon);
  t.FieldByName("Type").SetAsString(TypeName());
  t.Post();
}

const TImageList* TCustomButtonStyle::StyleImageList() const { return SharedImageList(SmallIcon); }

Size TCustomButtonStyle::AutoSizeExtent(ICanvas& surface, Dpi dpi) const {
  FontSpec font = Font;
  font.dpi = dpi.Value();
  surface.SetFont(font);
  Size icon{0, 0};
  if (ShowIcon) icon = Size{IconPixelSize(!SmallIcon, dpi), IconPixelSize(!SmallIcon, dpi)};
  auto px = [dpi](int units) { return dpi.Scale(units); };
  if (!ShowText) return Size{icon.cx + px(8), icon.cy + px(8)};
  Size text = surface.TextExtent(Caption);
  if (ImgLayout == 2 || ImgLayout == 3) return Size{text.cx + px(24), text.cy + icon.cy + px(10)};
  return Size{text.cx + icon.cx + px(24), std::max(icon.cy, text.cy) + px(SmallIcon ? 13 : 8)};
}

int TCustomButtonStyle::PathIconIndex(const std::string& path) {
  if (!PathShowsIcon(path)) return -1;
  return Shell().IconIndex(WithoutClosingBackslash(path), kIconSmall);
}

void TCustomButtonStyle::ApplyToButton(TLbSpeedButton& b, ICanvas* surface, Dpi dpi) {
  IconDpi = dpi.Value();
  b.SetCaption(ShowText ? Caption : std::string());
  // Values outside the enumerations (a damaged row) fall back to the first.
  TAlignment alignment = TextAlignment <= taCenter ? TAlignment(TextAlignment) : taLeftJustify;
  b.SetAlignment(alignment);
  b.SetLayout(ImgLayout <= blGlyphBottom ? TLbSpeedButtonLayout(ImgLayout) : blGlyphLeft);
  switch (ButtonStyle) {
    case cbsDefault:
      b.SetStyle(bsNormal);
      b.SetColor(clBtnFace);
      b.SetLightColor(clBtnHighlight);
      b.SetShadowColor(clBtnShadow);
      b.SetHotTrackColor(clBtnFace);
      b.SetFlat(true);
      break;
    case cbsShine:
      b.SetStyle(bsModern);
      b.SetColor(clBtnFace);
      b.SetLightColor(clBtnHighlight);
      b.SetShadowColor(clBlack);
      b.SetHotTrackColor(Darker(clBtnHighlight, 90));
      b.SetFlat(false);
      break;
    case cbsCustomFlat:
    case cbsCustomShine:
      b.SetStyle(ButtonStyle == cbsCustomFlat ? bsNormal : bsModern);
      b.SetColor(Color);
      b.SetLightColor(LightColor);
      b.SetShadowColor(ShadowColor);
      b.SetHotTrackColor(HotTrackColor);
      b.SetFlat(false);
      break;
    default:
      break;
  }
  FontSpec font = Font, selFont = SelFont;
  font.dpi = selFont.dpi = dpi.Value();
  b.SetFont(font);
  b.SetUseHotTrackFont(HotTrack);
  if (HotTrack) b.SetHotTrackFont(selFont);
  b.SetAlignment(alignment);
  if (AutoSize) {
    std::unique_ptr<ICanvas> own;
    if (!surface) {
      own = Canvases().CreateBitmapCanvas(1, 1);
      surface = own.get();
    }
    Size s = surface ? AutoSizeExtent(*surface, dpi) : Size{dpi.Scale(Width), dpi.Scale(Height)};
    b.SetBounds(b.Left(), b.Top(), s.cx, s.cy);
  } else {
    b.SetBounds(b.Left(), b.Top(), dpi.Scale(Width), dpi.Scale(Height));
  }
  b.SetWordWrap(WordWrap);
  if (!ShowIcon) return;
  // The icon itself comes later, fetched away from the painting
  // (IconLoader.h): until then a placeholder of its size.
  b.SetGlyph(IconPlaceholder(IconPixels(), b.ButtonColor()));
  b.SetNumGlyphs(1);
}

Bitmap IconPlaceholder(int pixels, Color background) {
  const Color back = ColorToRGB(background);
  Bitmap out(pixels, pixels, back);
  const int inset = pixels / 8;
  const Color frame = Darker(back, 25);
  for (int y = inset; y < pixels - inset; ++y) {
    for (int x = inset; x < pixels - inset; ++x) {
      if (x == inset || y == inset || x == pixels - 1 - inset || y == pixels - 1 - inset) out.At(x, y) = frame;
    }
  }
  return out;
}

Bitmap IconOverBackground(const Picture& icon, Color background) {
  const Color back = ColorToRGB(background);
  Bitmap out = icon.rgb;
  if (icon.alpha.size() != out.pixels.size()) return out;
  auto mix = [](uint32_t fore, uint32_t under, uint32_t a) { return (fore * a + under * (255 - a) + 127) / 255; };
  for (size_t i = 0; i < out.pixels.size(); ++i) {
    const Color c = out.pixels[i] & 0x00FFFFFF;
    const uint32_t a = icon.alpha[i];
    out.pixels[i] = RGB(uint8_t(mix(RedOf(c), RedOf(back), a)), uint8_t(mix(GreenOf(c), GreenOf(back), a)),
                        uint8_t(mix(BlueOf(c), BlueOf(back), a)));
  }
  return out;
}

void ApplyArrivedIcon(TLbSpeedButton& b, const Picture& icon) {
  b.SetGlyph(IconOverBackground(icon, b.ButtonColor()));
  b.SetNumGlyphs(icon.rgb.Empty() ? 0 : 1);
}

}  // namespace tov
