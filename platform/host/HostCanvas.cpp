#include "platform/host/HostCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/host/HostImages.h"
#include "platform/host/HostShell.h"

namespace tov::host {

// ---------------------------------------------------------------- text model

int FontEm(const FontSpec& font) {
  int points = font.size > 0 ? font.size : 8;
  const int dpi = font.dpi > 0 ? font.dpi : 96;
  return std::max(1, (points * dpi + 36) / 72);
}

int FontLineHeight(const FontSpec& font) { return FontEm(font) + 2; }

int CharAdvance(const FontSpec& font, char c) {
  int e = FontEm(font);
  int w;
  if (c == ' ') {
    w = (e + 2) / 4 + 1;
  } else if (std::strchr("iIjltf.,;:'!|()[]", c) != nullptr) {
    w = (e + 2) / 4;
  } else if (std::strchr("mwMW@%", c) != nullptr) {
    w = e * 8 / 11;
  } else {
    w = (e * 5 + 5) / 11;
  }
  w = std::max(1, w);
  if (font.style & kFontBold) ++w;
  return w;
}

// ------------------------------------------------------------ image lists

Color IconColor(int index) {
  uint32_t i = uint32_t(index);
  return RGB(uint8_t(40 + (i * 53) % 200), uint8_t(40 + (i * 97) % 200), uint8_t(40 + (i * 29) % 200));
}

Color IconBorderColor(int index) {
  Color c = IconColor(index);
  return RGB(uint8_t(RedOf(c) - 40), uint8_t(GreenOf(c) - 40), uint8_t(BlueOf(c) - 40));
}

Bitmap IconImage(int index, int size, bool enabled, Color background, Color clear) {
  Bitmap b(size, size, background == kNoColor ? clear : background);
  int cut = size / 8;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int dx = std::min(x, size - 1 - x), dy = std::min(y, size - 1 - y);
      if (dx + dy < cut) continue;
      bool border = x == 0 || y == 0 || x == size - 1 || y == size - 1;
      b.At(x, y) = !enabled ? RGB(128, 128, 128) : border ? IconBorderColor(index) : IconColor(index);
    }
  }
  return b;
}

namespace {

// One line of DrawText after prefixes and breaks: its characters and the
// index of the underlined accelerator, or -1.
struct TextLine {
  std::string text;
  int accel = -1;
};

// A raster of 32-bit pixels with GDI's clipping rules.
class SoftCanvas : public ICanvas {
 public:
  SoftCanvas(int w, int h, const HostCanvasFactory::SysColors& sys, int screenDpi = 96)
      : bmp_(w, h, RGB(255, 255, 255)), sys_(sys), screenDpi_(screenDpi) {}

  int Width() override { return bmp_.width; }
  int Height() override { return bmp_.height; }
  Color GetPixel(int x, int y) override { return In(x, y) ? bmp_.At(x, y) : 0xFFFFFFFF; }
  void SetPixel(int x, int y, Color c) override {
    if (Resolve(c) && In(x, y)) bmp_.At(x, y) = c;
  }
  void FillRect(const Rect& r, Color c) override {
    if (Resolve(c)) Fill(r, c);
  }
  void FrameRect(const Rect& r, Color c) override {
    if (r.IsEmpty() || !Resolve(c)) return;
    Fill({r.left, r.top, r.right, r.top + 1}, c);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, c);
    Fill({r.left, r.top, r.left + 1, r.bottom}, c);
    Fill({r.right - 1, r.top, r.right, r.bottom}, c);
  }
  void Line(Point a, Point b, Color c) override {
    if (!Resolve(c)) return;
    // Bresenham, end point excluded.
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1, err = dx + dy;
    int x = a.x, y = a.y;
    while (!(x == b.x && y == b.y)) {
      Put(x, y, c);
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
  void RoundRect(const Rect& r, int ew, int eh, Color c) override;
  void SetFont(const FontSpec& font) override {
    font_ = font;
    if (font_.dpi <= 0) font_.dpi = screenDpi_;  // as GDI takes the screen's LOGPIXELSY
  }
  Size TextExtent(const std::string& text) override { return Size{Advance(text), FontLineHeight(font_)}; }
  void TextAt(int x, int y, const std::string& text) override {
    DrawLine(x, y, TextLine{text, -1}, Rect{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2});
  }
  int DrawTextIn(const std::string& text, Rect& r, uint32_t format) override;
  void DrawImage(uintptr_t list, int index, int x, int y, bool enabled, Color background) override {
    int size = list == HostShell::kSmallList ? 16 : list == HostShell::kLargeList ? 32 : 0;
    if (size == 0 || index < 0 || index >= kIconCount) return;
    if (background != kNoColor && !Resolve(background)) return;
    const Color kClear = 0xFF000000;  // never a pixel value
    DrawBitmap(IconImage(index, size, enabled, background, kClear), x, y, kClear);
  }
  void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent) override {
    for (int j = 0; j < bmp.height; ++j)
      for (int i = 0; i < bmp.width; ++i)
        if (bmp.At(i, j) != transparent) Put(x + i, y + j, bmp.At(i, j) & 0x00FFFFFF);
  }
  void CopyFrom(ICanvas& source, const Rect& r, Point to, Color transparent) override {
    if (transparent != kNoColor && !Resolve(transparent)) transparent = kNoColor;
    for (int j = 0; j < r.Height(); ++j) {
      for (int i = 0; i < r.Width(); ++i) {
        int sx = r.left + i, sy = r.top + j;
        if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height()) continue;
        Color c = source.GetPixel(sx, sy);
        if (c != transparent) Put(to.x + i, to.y + j, c);
      }
    }
  }
  Bitmap ToBitmap() override { return bmp_; }

 private:
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < bmp_.width && y < bmp_.height; }
  void Put(int x, int y, Color c) {
    if (In(x, y)) bmp_.At(x, y) = c;
  }
  void Fill(const Rect& r, Color c) {
    int x0 = std::max(0, r.left), x1 = std::min(bmp_.width, r.right);
    for (int y = std::max(0, r.top); y < std::min(bmp_.height, r.bottom); ++y)
      for (int x = x0; x < x1; ++x)
        bmp_.At(x, y) = c;
  }
  // Turns a colour into the RGB value to draw with; false for no colour.
  bool Resolve(Color& c) const {
    if (IsSystemColor(c)) {
      uint32_t i = c & 0xFF;
      c = i < sys_.size() ? sys_[i] : 0;
      return true;
    }
    if (c == kNoColor) return false;
    c &= 0x00FFFFFF;
    return true;
  }
  int Advance(const std::string& text) const {
    int w = 0;
    for (char ch : text)
      w += CharAdvance(font_, ch);
    return w;
  }
  void DrawLine(int x, int y, const TextLine& line, const Rect& clip);
  std::vector<TextLine> Layout(const std::string& text, int width, uint32_t format) const;

  Bitmap bmp_;
  HostCanvasFactory::SysColors sys_;
  int screenDpi_;
  FontSpec font_;
};

void SoftCanvas::RoundRect(const Rect& r, int ew, int eh, Color c) {
  if (!Resolve(c)) return;
  // The outline runs on the rectangle's inclusive pixels; each corner keeps
  // the pixels whose centre lies within the corner ellipse (radii a quarter
  // pixel beyond half the ellipse's pixel span), and the outline is the set
  // of kept pixels with a side neighbour outside.
  int l = std::min(r.left, r.right), t = std::min(r.top, r.bottom);
  int rr = std::max(r.left, r.right) - 1, bb = std::max(r.top, r.bottom) - 1;
  if (rr < l || bb < t) return;
  int w = rr - l + 1, h = bb - t + 1;
  ew = std::clamp(std::abs(ew), 0, w);
  eh = std::clamp(std::abs(eh), 0, h);
  double ax = (ew - 1) / 2.0 + 0.25, ay = (eh - 1) / 2.0 + 0.25;
  auto inside = [&](int x, int y) {
    if (x < l || x > rr || y < t || y > bb) return false;
    if (ew < 2 || eh < 2) return true;
    double cx, cy;
    if (x < l + ew / 2) {
      cx = l + (ew - 1) / 2.0;
    } else if (x > rr - ew / 2) {
      cx = rr - (ew - 1) / 2.0;
    } else {
      return true;
    }
    if (y < t + eh / 2) {
      cy = t + (eh - 1) / 2.0;
    } else if (y > bb - eh / 2) {
      cy = bb - (eh - 1) / 2.0;
    } else {
      return true;
    }
    double dx = (x - cx) / ax, dy = (y - cy) / ay;
    return dx * dx + dy * dy <= 1.0;
  };
  for (int y = t; y <= bb; ++y) {
    // Only the rows near the edges and the corner columns can hold outline pixels.
    bool edgeRow = y - t <= eh / 2 + 1 || bb - y <= eh / 2 + 1;
    for (int x = l; x <= rr; ++x) {
      if (!edgeRow && x != l && x != rr) {
        if (x < rr) x = rr - 1;
        continue;
      }
      if (!inside(x, y)) continue;
      if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)) Put(x, y, c);
    }
  }
}

std::vector<TextLine> SoftCanvas::Layout(const std::string& text, int width, uint32_t format) const {
  // Prefixes first: "&&" is one "&", "&x" underlines x, a final "&" stays.
  TextLine all;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && !(format & kDtNoPrefix) && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && all.accel < 0) all.accel = int(all.text.size());
    }
    all.text += text[i];
  }
  // Paragraphs at line ends, unless single-line.
  std::vector<TextLine> paragraphs;
  if (format & kDtSingleLine) {
    paragraphs.push_back(all);
  } else {
    TextLine cur;
    int base = 0;
    auto flush = [&](size_t end) {
      cur.accel = (all.accel >= base && all.accel < int(end)) ? all.accel - base : -1;
      paragraphs.push_back(cur);
      cur = TextLine{};
    };
    for (size_t i = 0; i < all.text.size(); ++i) {
      char ch = all.text[i];
      if (ch == '\r' || ch == '\n') {
        flush(i);
        if (ch == '\r' && i + 1 < all.text.size() && all.text[i + 1] == '\n') ++i;
        base = int(i + 1);
      } else {
        cur.text += ch;
      }
    }
    flush(all.text.size());
  }
  if (!(format & kDtWordBreak) || (format & kDtSingleLine)) return paragraphs;

  // Word breaks, as GDI makes them: back from the first character that does
  // not fit to a space; a word longer than the line stays whole.
  std::vector<TextLine> lines;
  for (const TextLine& para : paragraphs) {
    const std::string& s = para.text;
    size_t start = 0;
    do {
      size_t len = s.size() - start;
      size_t fit = 0;
      int w = 0;
      while (fit < len && w + CharAdvance(font_, s[start + fit]) <= width)
        w += CharAdvance(font_, s[start + fit++]);
      size_t lineLen = len, used = len;
      if (fit < len) {
        const char* str = s.data() + start;
        size_t p = fit;
        bool wordFits = true;
        if (fit == 0) {
          // the first character does not fit: it makes the line on its own
        } else if (str[p] == ' ') {
          --p;
        } else {
          while (p > 0 && str[--p] != ' ') {
          }
          wordFits = p != 0 || str[p] == ' ';
        }
        if (wordFits) {
          if (!(format & (kDtRight | kDtCenter)) || str[p] != ' ') ++p;
          bool nextIsSpace = p < len && str[p] == ' ';
          lineLen = p;
          used = p + (nextIsSpace ? 1 : 0);
        } else {
          p = fit;
          while (p < len && str[p] != ' ')
            ++p;
          lineLen = p;
          used = p + (p < len ? 1 : 0);
        }
      }
      TextLine line{s.substr(start, lineLen), -1};
      if (para.accel >= int(start) && para.accel < int(start + lineLen)) line.accel = para.accel - int(start);
      lines.push_back(line);
      start += used;
    } while (start < s.size());
  }
  return lines;
}

void SoftCanvas::DrawLine(int x, int y, const TextLine& line, const Rect& clip) {
  Color c = font_.color;
  if (!Resolve(c)) return;
  int e = FontEm(font_);
  auto fill = [&](int l, int t, int r, int b) {
    Fill({std::max(l, clip.left), std::max(t, clip.top), std::min(r, clip.right), std::min(b, clip.bottom)}, c);
  };
  int cx = x;
  for (size_t i = 0; i < line.text.size(); ++i) {
    int adv = CharAdvance(font_, line.text[i]);
    if (line.text[i] != ' ') fill(cx, y + 2, cx + adv - 1, y + e);
    if ((font_.style & kFontUnderline) || int(i) == line.accel) fill(cx, y + e, cx + adv, y + e + 1);
    if (font_.style & kFontStrikeOut) fill(cx, y + e / 2 + 1, cx + adv, y + e / 2 + 2);
    cx += adv;
  }
}

int SoftCanvas::DrawTextIn(const std::string& text, Rect& r, uint32_t format) {
  int lh = FontLineHeight(font_);
  if (text.empty()) {
    if (format & kDtCalcRect) {
      r.right = r.left;
      r.bottom = r.top + ((format & kDtSingleLine) ? lh : 0);
    }
    return lh;
  }
  std::vector<TextLine> lines = Layout(text, r.Width(), format);
  int height = lh * int(lines.size());
  if (format & kDtCalcRect) {
    int widest = 0;
    for (const TextLine& l : lines)
      widest = std::max(widest, Advance(l.text));
    r.right = r.left + widest;
    r.bottom = r.top + height;
    return height;
  }
  int y = r.top;
  if (format & kDtSingleLine) {
    if (format & kDtVCenter) {
      y = r.top + (r.Height() - lh) / 2;
    } else if (format & kDtBottom) {
      y = r.bottom - lh;
    }
  }
  Rect clip = (format & kDtNoClip) ? Rect{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2} : r;
  for (const TextLine& l : lines) {
    int w = Advance(l.text);
    int x = r.left;
    if (format & kDtCenter) {
      x = (r.left + r.right - w) / 2;
    } else if (format & kDtRight) {
      x = r.right - w;
    }
    DrawLine(x, y, l, clip);
    y += lh;
  }
  return height;
}

}  // namespace

HostCanvasFactory::HostCanvasFactory() {
  // The classic Windows scheme.
  sysColors_.fill(RGB(192, 192, 192));
  sysColors_[1] = RGB(0, 0, 0);         // COLOR_BACKGROUND
  sysColors_[5] = RGB(255, 255, 255);   // COLOR_WINDOW
  sysColors_[8] = RGB(0, 0, 0);         // COLOR_WINDOWTEXT
  sysColors_[13] = RGB(0, 0, 128);      // COLOR_HIGHLIGHT
  sysColors_[14] = RGB(255, 255, 255);  // COLOR_HIGHLIGHTTEXT
  sysColors_[15] = RGB(240, 240, 240);  // COLOR_BTNFACE
  sysColors_[16] = RGB(160, 160, 160);  // COLOR_BTNSHADOW
  sysColors_[17] = RGB(128, 128, 128);  // COLOR_GRAYTEXT
  sysColors_[18] = RGB(0, 0, 0);        // COLOR_BTNTEXT
  sysColors_[20] = RGB(255, 255, 255);  // COLOR_BTNHIGHLIGHT
  sysColors_[21] = RGB(105, 105, 105);  // COLOR_3DDKSHADOW
  sysColors_[22] = RGB(227, 227, 227);  // COLOR_3DLIGHT
}

std::unique_ptr<ICanvas> HostCanvasFactory::CreateBitmapCanvas(int width, int height) {
  return std::make_unique<SoftCanvas>(width, height, sysColors_, screenDpi_);
}

Color HostCanvasFactory::SysColor(int index) {
  return index >= 0 && index < int(sysColors_.size()) ? sysColors_[size_t(index)] : 0;
}

void HostCanvasFactory::SetSysColor(int index, Color rgb) {
  if (index >= 0 && index < int(sysColors_.size())) sysColors_[size_t(index)] = rgb & 0x00FFFFFF;
}

IImageCodec* HostCanvasFactory::ImageCodec() {
  if (!codec_) codec_ = std::make_unique<HostImageCodec>();
  return codec_.get();
}

Size HostCanvasFactory::ImageListSize(uintptr_t imageList) {
  if (imageList == HostShell::kSmallList) return Size{16, 16};
  if (imageList == HostShell::kLargeList) return Size{32, 32};
  return Size{0, 0};
}

}  // namespace tov::host
