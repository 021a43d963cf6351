#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Scoped.h"
// <commctrl.h> needs <windows.h> first.
#include <commctrl.h>

#include <algorithm>

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Images.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// A colour as GDI takes it; false for no colour.
bool Resolve(Color c, COLORREF* out) {
  if (IsSystemColor(c)) {
    *out = GetSysColor(int(c & 0xFF));
    return true;
  }
  if (c == kNoColor) return false;
  *out = c & 0x00FFFFFF;
  return true;
}

// Bitmap pixels are 0x00BBGGRR, a 32-bit DIB holds 0x00RRGGBB.
inline uint32_t SwapRB(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

HBITMAP CreateDib(HDC dc, int w, int h, uint32_t** bits) {
  BITMAPINFO bi = TopDownDibInfo(std::max(1, w), std::max(1, h));
  void* p = nullptr;
  HBITMAP b = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<uint32_t*>(p);
  return b;
}

class GdiCanvas : public ICanvas {
 public:
  GdiCanvas(HDC dc, int w, int h) : dc_(dc), w_(std::max(0, w)), h_(std::max(0, h)) {
    savedDc_ = SaveDC(dc_);
    SetBkMode(dc_, TRANSPARENT);
  }
  ~GdiCanvas() override { Release(); }
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  HDC Dc() const { return dc_; }
  int Width() override { return w_; }
  int Height() override { return h_; }
  Color GetPixel(int x, int y) override {
    COLORREF c = ::GetPixel(dc_, x, y);
    return c == CLR_INVALID ? 0xFFFFFFFF : Color(c);
  }
  void SetPixel(int x, int y, Color c) override {
    COLORREF rgb;
    if (Resolve(c, &rgb)) ::SetPixelV(dc_, x, y, rgb);
  }
  void FillRect(const Rect& r, Color c) override {
    COLORREF rgb;
    if (!Resolve(c, &rgb) || r.IsEmpty()) return;
    RECT rc{r.left, r.top, r.right, r.bottom};
    SetDCBrushColor(dc_, rgb);
    ::FillRect(dc_, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  void FrameRect(const Rect& r, Color c) override {
    if (r.IsEmpty()) return;
    FillRect({r.left, r.top, r.right, r.top + 1}, c);
    FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillRect({r.left, r.top, r.left + 1, r.bottom}, c);
    FillRect({r.right - 1, r.top, r.right, r.bottom}, c);
  }
  void Line(Point a, Point b, Color c) override {
    COLORREF rgb;
    if (!Resolve(c, &rgb)) return;
    SelectObject(dc_, GetStockObject(DC_PEN));
    SetDCPenColor(dc_, rgb);
    MoveToEx(dc_, a.x, a.y, nullptr);
    LineTo(dc_, b.x, b.y);
  }
  void RoundRect(const Rect& r, int ew, int eh, Color c) override {
    COLORREF rgb;
    if (!Resolve(c, &rgb)) return;
    SelectObject(dc_, GetStockObject(DC_PEN));
    SetDCPenColor(dc_, rgb);
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, ew, eh);
  }
  void SetFont(const FontSpec& font) override {
    if (font_ && font == spec_) return;
    spec_ = font;
    const LOGFONTA lf = FontFor(font, dc_);
    HFONT f = CreateFontIndirectA(&lf);
    SelectObject(dc_, f);
    if (font_) DeleteObject(font_);
    font_ = f;
  }
  Size TextExtent(const std::string& text) override {
    SIZE s{0, 0};
    const std::wstring wide = WideText(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &s);
    if (text.empty()) {
      TEXTMETRICA tm;
      if (GetTextMetricsA(dc_, &tm)) s.cy = tm.tmHeight;
    }
    return Size{int32_t(s.cx), int32_t(s.cy)};
  }
  void TextAt(int x, int y, const std::string& text) override {
    COLORREF rgb;
    if (!Resolve(spec_.color, &rgb)) return;
    SetTextColor(dc_, rgb);
    const std::wstring wide = WideText(text);
    ::TextOutW(dc_, x, y, wide.c_str(), int(wide.size()));
  }
  int DrawTextIn(const std::string& text, Rect& r, uint32_t format) override {
    COLORREF rgb = 0;
    if (!Resolve(spec_.color, &rgb) && !(format & DT_CALCRECT)) return 0;
    if (text.empty()) {
      // DrawText leaves the rectangle alone for no characters; measure the
      // empty text as nothing wide, one line high only when single-line.
      int lh = TextExtent("").cy;
      if (format & DT_CALCRECT) {
        r.right = r.left;
        r.bottom = r.top + ((format & DT_SINGLELINE) ? lh : 0);
      }
      return lh;
    }
    SetTextColor(dc_, rgb);
    RECT rc{r.left, r.top, r.right, r.bottom};
    const std::wstring wide = WideText(text);
    int h = ::DrawTextW(dc_, wide.c_str(), int(wide.size()), &rc, format);
    if (format & DT_CALCRECT) r = Rect{rc.left, rc.top, rc.right, rc.bottom};
    return h;
  }
  void DrawImage(uintptr_t list, int index, int x, int y, bool enabled, Color background) override {
    COLORREF bk = CLR_NONE;
    if (background != kNoColor && !Resolve(background, &bk)) return;
    ImageList_DrawEx(reinterpret_cast<HIMAGELIST>(list), index, dc_, x, y, 0, 0, bk, CLR_DEFAULT,
                     ILD_NORMAL | (enabled ? 0 : ILD_BLEND50));
  }
  void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent) override {
    if (bmp.Empty()) return;
    HDC mem = CreateCompatibleDC(dc_);
    uint32_t* bits = nullptr;
    HBITMAP b = CreateDib(mem, bmp.width, bmp.height, &bits);
    if (!b || !bits) {
      DeleteDC(mem);
      return;
    }
    for (size_t i = 0; i < bmp.pixels.size(); ++i)
      bits[i] = SwapRB(bmp.pixels[i] & 0x00FFFFFF);
    HGDIOBJ old = SelectObject(mem, b);
    Blit(mem, 0, 0, bmp.width, bmp.height, x, y, transparent);
    SelectObject(mem, old);
    DeleteObject(b);
    DeleteDC(mem);
  }
  void CopyFrom(ICanvas& source, const Rect& r, Point to, Color transparent) override {
    if (r.IsEmpty()) return;
    if (auto* gdi = dynamic_cast<GdiCanvas*>(&source)) {
      GdiFlush();
      Blit(gdi->Dc(), r.left, r.top, r.Width(), r.Height(), to.x, to.y, transparent);
      return;
    }
    Bitmap all = source.ToBitmap();
    Bitmap part(r.Width(), r.Height(), 0);
    Color key = transparent;
    COLORREF rgb;
    if (key != kNoColor && Resolve(key, &rgb)) key = rgb;
    // Pixels outside the source stay as they are: give them the key colour.
    Color outside = key != kNoColor ? key : 0;
    for (int j = 0; j < r.Height(); ++j) {
      for (int i = 0; i < r.Width(); ++i) {
        int sx = r.left + i, sy = r.top + j;
        part.At(i, j) = (sx >= 0 && sy >= 0 && sx < all.width && sy < all.height) ? all.At(sx, sy) : outside;
      }
    }
    DrawBitmap(part, to.x, to.y, key);
  }
  Bitmap ToBitmap() override {
    Bitmap out(w_, h_, 0);
    if (out.Empty()) return out;
    HDC mem = CreateCompatibleDC(dc_);
    uint32_t* bits = nullptr;
    HBITMAP b = CreateDib(mem, w_, h_, &bits);
    if (b && bits) {
      HGDIOBJ old = SelectObject(mem, b);
      BitBlt(mem, 0, 0, w_, h_, dc_, 0, 0, SRCCOPY);
      GdiFlush();
      for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = SwapRB(bits[i] & 0x00FFFFFF);
      SelectObject(mem, old);
      DeleteObject(b);
    }
    DeleteDC(mem);
    return out;
  }

 protected:
  // Restores the DC's own objects and frees the font; safe to call twice.
  void Release() {
    if (savedDc_) RestoreDC(dc_, savedDc_);
    savedDc_ = 0;
    if (font_) DeleteObject(font_);
    font_ = nullptr;
  }
  void Blit(HDC src, int sx, int sy, int w, int h, int x, int y, Color transparent) {
    COLORREF key;
    if (transparent != kNoColor && Resolve(transparent, &key)) {
      GdiTransparentBlt(dc_, x, y, w, h, src, sx, sy, w, h, key);
    } else {
      BitBlt(dc_, x, y, w, h, src, sx, sy, SRCCOPY);
    }
  }

  HDC dc_;
  int w_, h_;
  int savedDc_ = 0;
  HFONT font_ = nullptr;
  FontSpec spec_;
};

// An off-screen canvas on a DIB section in its own memory DC; reads and
// writes its pixels directly.
class DibCanvas : public GdiCanvas {
 public:
  DibCanvas(HDC mem, HBITMAP bmp, uint32_t* bits, int w, int h) : GdiCanvas(mem, w, h), bmp_(bmp), bits_(bits) {
    SelectObject(dc_, bmp_);
  }
  ~DibCanvas() override {
    Release();  // the DC takes back its own bitmap and font
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  Color GetPixel(int x, int y) override {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFF;
    GdiFlush();
    return SwapRB(bits_[size_t(y) * size_t(w_) + size_t(x)] & 0x00FFFFFF);
  }
  void SetPixel(int x, int y, Color c) override {
    COLORREF rgb;
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || !Resolve(c, &rgb)) return;
    GdiFlush();
    bits_[size_t(y) * size_t(w_) + size_t(x)] = SwapRB(rgb);
  }
  Bitmap ToBitmap() override {
    Bitmap out(w_, h_, 0);
    GdiFlush();
    for (size_t i = 0; i < out.pixels.size(); ++i)
      out.pixels[i] = SwapRB(bits_[i] & 0x00FFFFFF);
    return out;
  }

 private:
  HBITMAP bmp_;
  uint32_t* bits_;
};

}  // namespace

LOGFONTA FontFor(const FontSpec& wanted, HDC dc) {
  LOGFONTA lf{};
  if (wanted.name.empty()) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
      lf = ncm.lfMessageFont;
    else
      GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    // The system's font is sized for the system's scale.
    if (wanted.dpi > 0) lf.lfHeight = MulDiv(lf.lfHeight, wanted.dpi, SystemDpi());
  } else {
    int dpi = wanted.dpi;
    if (dpi <= 0) dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : ScreenDc().Caps(LOGPIXELSY, Dpi::kBase);
    lf.lfHeight = -MulDiv(wanted.size > 0 ? wanted.size : 8, dpi, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, wanted.name.c_str(), LF_FACESIZE);
  }
  lf.lfWeight = (wanted.style & kFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (wanted.style & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (wanted.style & kFontUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (wanted.style & kFontStrikeOut) ? TRUE : FALSE;
  return lf;
}

std::unique_ptr<ICanvas> MakeDcCanvas(HDC hdc, int width, int height) {
  return std::make_unique<GdiCanvas>(hdc, width, height);
}

HDC CanvasDc(ICanvas& canvas) {
  auto* gdi = dynamic_cast<GdiCanvas*>(&canvas);
  return gdi ? gdi->Dc() : nullptr;
}

std::unique_ptr<ICanvas> Win32CanvasFactory::CreateBitmapCanvas(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  HDC mem = CreateCompatibleDC(nullptr);
  uint32_t* bits = nullptr;
  HBITMAP bmp = mem ? CreateDib(mem, width, height, &bits) : nullptr;
  if (!bmp || !bits) {
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
    return nullptr;
  }
  size_t n = size_t(std::max(1, width)) * size_t(std::max(1, height));
  std::fill(bits, bits + n, 0x00FFFFFFu);
  return std::make_unique<DibCanvas>(mem, bmp, bits, width, height);
}

Color Win32CanvasFactory::SysColor(int index) { return Color(GetSysColor(index)); }

Size Win32CanvasFactory::ImageListSize(uintptr_t imageList) {
  int cx = 0, cy = 0;
  if (!imageList || !ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(imageList), &cx, &cy)) return Size{0, 0};
  return Size{cx, cy};
}

IImageCodec* Win32CanvasFactory::ImageCodec() { return &WicCodec(); }

int Win32CanvasFactory::ScreenDpi() { return SystemDpi(); }

int Win32CanvasFactory::ScreenBitsPerPixel() {
  ScreenDc screen;
  return screen ? screen.Caps(BITSPIXEL, 32) * screen.Caps(PLANES, 1) : 32;
}

}  // namespace tov::win32
