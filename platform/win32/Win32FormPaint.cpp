#include "platform/win32/Win32FormPaint.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "ui/Supportaspetto.h"

namespace tov::win32 {

namespace {

// Bitmap pixels are 0x00BBGGRR, a 32-bit DIB holds 0x00RRGGBB.
inline uint32_t SwapRB(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

inline COLORREF Mix(COLORREF a, COLORREF b, int alpha) {  // alpha of a, 0..255
  auto ch = [&](int shift) {
    int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
    return COLORREF((x * alpha + y * (255 - alpha)) / 255) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

void FillColor(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// One step of a 3D frame: top and left in one colour, bottom and right in
// the other; r shrinks by a pixel.
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
  FillColor(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  FillColor(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  FillColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillColor(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  InflateRect(&r, -1, -1);
}

void Bevel(HDC dc, RECT& r, const std::string& kind, int width) {
  if (kind != "bvRaised" && kind != "bvLowered") return;  // bvNone, bvSpace
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  for (int i = 0; i < width; ++i) {
    if (kind == "bvRaised")
      Frame3D(dc, r, light, dark);
    else
      Frame3D(dc, r, dark, light);
  }
}

int IntProperty(const Component& c, const char* name, int def) {
  std::string v = c.Property(name);
  if (v.empty()) return def;
  char* end = nullptr;
  long n = std::strtol(v.c_str(), &end, 10);
  return end && *end == '\0' ? int(n) : def;
}

// The text of a caption between x and r.right, centred vertically; greyed
// with a highlight below it when disabled.
void CaptionText(HDC dc, const std::string& text, RECT r, UINT format, bool enabled) {
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) {
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), int(text.size()), &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
}

// One glyph of a picture, blended onto the button face: a picture with
// alpha by its alpha, any other one with its bottom-left pixel's colour as
// the transparent colour.
void DrawGlyph(HDC dc, const Picture& pic, int index, int cellWidth, int x, int y, bool greyed) {
  const int h = pic.rgb.height;
  if (cellWidth <= 0 || h <= 0) return;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const Color transparent = pic.rgb.At(0, h - 1);
  const bool hasAlpha = pic.alpha.size() == pic.rgb.pixels.size();
  std::vector<uint32_t> bits(size_t(cellWidth) * size_t(h));
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < cellWidth; ++col) {
      const int sx = index * cellWidth + col;
      const size_t si = size_t(row) * size_t(pic.rgb.width) + size_t(sx);
      COLORREF c = pic.rgb.pixels[si] & 0xFFFFFF;
      int alpha = hasAlpha ? pic.alpha[si] : (pic.rgb.pixels[si] == transparent ? 0 : 255);
      if (greyed && alpha > 0) {
        int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
        c = Mix(RGB(lum, lum, lum), face, 128);
      }
      bits[size_t(row) * size_t(cellWidth) + size_t(col)] = SwapRB(Mix(c, face, alpha));
    }
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cellWidth;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, DWORD(cellWidth), DWORD(h), 0, 0, 0, UINT(h), bits.data(), &bi, DIB_RGB_COLORS);
}

// The picture a button shows, and how many glyphs it holds side by side.
const Picture* ButtonPicture(const Component& c, bool pressed, int* glyphs) {
  *glyphs = 1;
  if (c.kind == ComponentKind::PngButton) {
    std::string key = c.Property(pressed ? kPngImageDownProperty : kPngImageProperty);
    if (key.empty() && pressed) key = c.Property(kPngImageProperty);
    return key.empty() ? nullptr : CachedPicture(key);
  }
  const std::string name = c.Property(kGlyphProperty);
  if (name.empty()) return nullptr;
  *glyphs = std::max(1, IntProperty(c, kNumGlyphsProperty, 1));
  return LoadPicture(name, false);
}

}  // namespace

uint32_t FontStyleOf(const Component& c) {
  const std::string s = c.Property("Font.Style");
  uint32_t style = 0;
  if (s.find("fsBold") != std::string::npos) style |= kFontBold;
  if (s.find("fsItalic") != std::string::npos) style |= kFontItalic;
  if (s.find("fsUnderline") != std::string::npos) style |= kFontUnderline;
  if (s.find("fsStrikeOut") != std::string::npos) style |= kFontStrikeOut;
  return style;
}

FormFonts::~FormFonts() {
  for (auto& [style, font] : fonts_)
    DeleteObject(font);
}

HFONT FormFonts::Get(uint32_t style) {
  auto it = fonts_.find(style);
  if (it != fonts_.end()) return it->second;
  LOGFONTA lf{};
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    lf = ncm.lfMessageFont;
  } else {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  }
  if (style & kFontBold) lf.lfWeight = FW_BOLD;
  lf.lfItalic = (style & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (style & kFontUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (style & kFontStrikeOut) ? TRUE : FALSE;
  HFONT font = CreateFontIndirectA(&lf);
  if (!font)
    font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));  // a stock font is never deleted
  else
    fonts_[style] = font;
  return font;
}

COLORREF ComponentColor(const Component& c, COLORREF def) {
  std::string v = c.Property("Color");
  if (v.empty()) return def;
  char* end = nullptr;
  unsigned long n = std::strtoul(v.c_str(), &end, 10);
  if (!end || *end != '\0') return def;
  Color color = Color(n);
  if (IsSystemColor(color)) return GetSysColor(int(color & 0xFF));
  return color == kNoColor ? def : COLORREF(color & 0xFFFFFF);
}

void PaintContainer(HDC dc, const Component& c, const RECT& bounds, HFONT font) {
  RECT r = bounds;
  FillColor(dc, r, ComponentColor(c, GetSysColor(COLOR_BTNFACE)));
  HGDIOBJ oldFont = SelectObject(dc, font);
  switch (c.kind) {
    case ComponentKind::GroupBox: {
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      RECT frame{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
      DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      if (!c.caption.empty()) {
        RECT text{r.left + 8, r.top, r.right - 8, r.top + tm.tmHeight};
        SIZE ext{};
        std::string padded = " " + c.caption + " ";
        GetTextExtentPoint32A(dc, padded.c_str(), int(padded.size()), &ext);
        text.right = std::min(text.right, text.left + ext.cx);
        FillColor(dc, text, ComponentColor(c, GetSysColor(COLOR_BTNFACE)));
        CaptionText(dc, padded, text, DT_LEFT | DT_SINGLELINE | DT_VCENTER, c.enabled);
      }
      break;
    }
    case ComponentKind::FlatPanel: {
      COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
      Component probe(ComponentKind::Other);
      probe.properties["Color"] = c.Property("ColorHighLight");
      light = ComponentColor(probe, light);
      probe.properties["Color"] = c.Property("ColorShadow");
      dark = ComponentColor(probe, dark);
      Frame3D(dc, r, light, dark);
      break;
    }
    default: {
      // A panel: outer bevel, border, inner bevel, then its caption centred.
      const int width = std::max(1, IntProperty(c, "BevelWidth", 1));
      Bevel(dc, r, c.Property("BevelOuter", "bvRaised"), width);
      InflateRect(&r, -std::max(0, IntProperty(c, "BorderWidth", 0)), -std::max(0, IntProperty(c, "BorderWidth", 0)));
      Bevel(dc, r, c.Property("BevelInner", "bvNone"), width);
      if (!c.caption.empty()) CaptionText(dc, c.caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, c.enabled);
      break;
    }
  }
  SelectObject(dc, oldFont);
}

void DrawPictureButton(const DRAWITEMSTRUCT& dis, const Component& c, bool isDefault, HFONT font) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & ODS_DISABLED) != 0;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (isDefault) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  if (pressed && isDefault)
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  else
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  HGDIOBJ oldFont = SelectObject(dc, font);
  int glyphs = 1;
  const Picture* pic = ButtonPicture(c, pressed, &glyphs);
  const int cell = pic ? pic->rgb.width / glyphs : 0;
  const int gh = pic ? pic->rgb.height : 0;
  RECT calc{0, 0, 0, 0};
  if (!c.caption.empty()) DrawTextA(dc, c.caption.c_str(), int(c.caption.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
  // Picture and caption side by side, centred together, 4 pixels apart.
  const int spacing = cell > 0 && calc.right > 0 ? 4 : 0;
  const int total = cell + spacing + calc.right;
  const int shift = pressed ? 1 : 0;
  int x = r.left + (r.right - r.left - total) / 2 + shift;
  if (cell > 0) {
    // A disabled button shows the second glyph when there is one, else a greyed first one.
    const int index = disabled && glyphs >= 2 ? 1 : 0;
    DrawGlyph(dc, *pic, index, cell, x, r.top + (r.bottom - r.top - gh) / 2 + shift, disabled && glyphs < 2);
    x += cell + spacing;
  }
  if (!c.caption.empty()) {
    RECT text{x, r.top + shift, x + calc.right + 1, r.bottom + shift};
    CaptionText(dc, c.caption, text, DT_LEFT | DT_SINGLELINE | DT_VCENTER, !disabled);
  }
  SelectObject(dc, oldFont);
  if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace tov::win32
