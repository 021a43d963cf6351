#include "controls/ButtonStyle.h"

#include <algorithm>

#include "controls/Appearance.h"
#include "controls/ShellImages.h"
#include "platform/Platform.h"
#include "tables/RecordTable.h"

namespace tov {

int32_t FontStyleToColumn(uint32_t style) { return int32_t(style & (kFontBold | kFontItalic | kFontUnderline)); }

uint32_t FontStyleFromColumn(int32_t value) { return uint32_t(value) & (kFontBold | kFontItalic | kFontUnderline); }

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

int IconPixelSize(bool large, Dpi dpi) {
  const int base = large ? 32 : 16;
  const int wanted = dpi.Scale(base);
  if (wanted >= 2 * base) return 2 * base;
  if (wanted >= base + base / 2) return base + base / 2;
  return base;
}

Size TCustomButtonStyle::AutoSizeExtent(ICanvas& surface, Dpi dpi) const {
  FontSpec font = Font;
  font.dpi = dpi.Value();
  surface.SetFont(font);
  Size icon{0, 0};
  if (ShowIcon && StyleImageList()) {
    const int side = IconPixelSize(!SmallIcon, dpi);
    icon = Size{side, side};
  }
  auto px = [dpi](int units) { return dpi.Scale(units); };
  if (!ShowText) return Size{icon.cx + px(8), icon.cy + px(8)};
  Size text = surface.TextExtent(Caption);
  if (ImgLayout == 2 || ImgLayout == 3) return Size{text.cx + px(24), text.cy + icon.cy + px(10)};
  return Size{text.cx + icon.cx + px(24), std::max(icon.cy, text.cy) + px(SmallIcon ? 13 : 8)};
}

int TCustomButtonStyle::PathIconIndex(const std::string& path) {
  std::string p = path;
  // A folder named with its closing backslash is the folder itself; wildcards
  // would name other entries, not this one.
  if (p.size() > 3 && p.back() == '\\') p.pop_back();
  if (p.empty() || p.find_first_of("*?") != std::string::npos) return -1;
  bool found = false;
  for (const FindEntry& e : Files().FindFiles(p)) {
    if (e.name == "." || e.name == "..") continue;
    if (!(e.attributes & (kAttrHidden | kAttrSystem))) found = true;
  }
  if (!found) return -1;
  return Shell().IconIndex(p, kIconSmall);
}

void TCustomButtonStyle::ApplyToButton(TLbSpeedButton& b, ICanvas* surface, Dpi dpi) {
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
  int i = PathIconIndex(Path);
  const TImageList* list = StyleImageList();
  if (i < 0 || !list) return;
  // The glyph has the icon's side at this scale; a list whose pictures are
  // smaller has its picture centred in it, never stretched.
  const Size size = Canvases().ImageListSize(list->handle);
  const int side = std::max({IconPixelSize(!SmallIcon, dpi), size.cx, size.cy});
  auto glyph = Canvases().CreateBitmapCanvas(side, side);
  if (!glyph) return;
  if (size.cx < side || size.cy < side) glyph->FillRect(Rect{0, 0, side, side}, ColorToRGB(b.ButtonColor()));
  glyph->DrawImage(list->handle, i, (side - size.cx) / 2, (side - size.cy) / 2, true, b.ButtonColor());
  b.SetGlyph(glyph->ToBitmap());
  b.SetNumGlyphs(1);
}

}  // namespace tov
