// Pictures from the "pics" folder, their cache, the colour helpers and the
// menu helpers.
#include <gtest/gtest.h>
#include <zlib.h>

#include "controls/Appearance.h"
#include "forms/Component.h"
#include "platform/BmpDecoder.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

const char* kPics = "C:\\Programmi\\Tovira\\pics\\";

std::string Be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string Le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string Le16(uint16_t v) { return std::string{char(v), char(v >> 8)}; }

std::string Chunk(const std::string& type, const std::string& data) {
  std::string td = type + data;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(td.data()), uInt(td.size()));
  return Be32(uint32_t(data.size())) + td + Be32(uint32_t(crc));
}

// A w x h RGBA PNG filled with one colour and alpha.
std::string Png(int w, int h, Color c, uint8_t alpha) {
  std::string raw;
  for (int y = 0; y < h; ++y) {
    raw += '\0';
    for (int x = 0; x < w; ++x)
      raw += std::string{char(RedOf(c)), char(GreenOf(c)), char(BlueOf(c)), char(alpha)};
  }
  uLongf size = compressBound(uLong(raw.size()));
  std::string z(size, '\0');
  compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
  z.resize(size);
  std::string ihdr = Be32(uint32_t(w)) + Be32(uint32_t(h)) + std::string{8, 6, 0, 0, 0};
  return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", z) + Chunk("IEND", "");
}

// A 24-bit bottom-up bitmap; pixel (x, y) from f.
template <class F>
std::string Bmp24(int w, int h, F f) {
  int stride = (w * 3 + 3) / 4 * 4;
  std::string data;
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      Color c = f(x, y);
      row += std::string{char(BlueOf(c)), char(GreenOf(c)), char(RedOf(c))};
    }
    row.resize(size_t(stride), '\0');
    data += row;
  }
  std::string info = Le32(40) + Le32(uint32_t(w)) + Le32(uint32_t(h)) + Le16(1) + Le16(24) + Le32(0) +
                     Le32(uint32_t(data.size())) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
  return "BM" + Le32(uint32_t(14 + info.size() + data.size())) + Le32(0) + Le32(54) + info + data;
}

struct Pics : ::testing::Test {
  Pics() {
    FreePictureCache();
    ForceDirectories(Files(), kPics);
  }
  ~Pics() override { FreePictureCache(); }
  void Put(const std::string& file, const std::string& bytes) { ASSERT_TRUE(Files().WriteFile(kPics + file, bytes)); }
  host::HostPlatform hp;
};

TEST_F(Pics, BitmapButtonsTakeTheBitmapAndPicturesLoadOnce) {
  Put("BtnConferma.bmp", Bmp24(32, 16, [](int x, int) { return x < 16 ? RGB(255, 0, 0) : RGB(0, 0, 255); }));
  Put("BtnConferma.png", Png(16, 16, RGB(0, 255, 0), 255));
  auto button = MakeComponent(ComponentKind::Button, "BtnOk");
  SetButtonPicture(*button, "BtnConferma", 2);
  EXPECT_EQ(button->Property(kGlyphProperty), "BtnConferma");
  EXPECT_EQ(button->Property(kNumGlyphsProperty), "2");
  const Picture* p = CachedPicture("btnconferma");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->rgb.width, 32);
  EXPECT_EQ(p->rgb.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(p->rgb.At(31, 15), RGB(0, 0, 255));
  EXPECT_TRUE(p->alpha.empty());
  // Cached: gone from disk, still there.
  ASSERT_TRUE(Files().DeleteFile(std::string(kPics) + "BtnConferma.bmp"));
  EXPECT_EQ(LoadPicture("BTNCONFERMA", false), p);
  // Preferring PNG finds the bitmap already cached under the name.
  EXPECT_EQ(LoadPicture("BtnConferma", true), p);
  // No picture clears the glyph; other classes get nothing.
  SetButtonPicture(*button, "Manca", 1);
  EXPECT_EQ(button->Property(kGlyphProperty), "");
  EXPECT_EQ(button->Property(kNumGlyphsProperty), "1");
  auto label = MakeComponent(ComponentKind::Label, "Lbl");
  SetButtonPicture(*label, "BtnConferma", 2);
  EXPECT_TRUE(label->properties.empty());
}

TEST_F(Pics, CachedNamesIgnoreTheCaseOfAccentedLetters) {
  Put("Citt\u00E0\u0161.bmp", Bmp24(2, 2, [](int, int) { return RGB(1, 2, 3); }));
  const Picture* p = LoadPicture("Citt\u00E0\u0161", false);
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(Files().DeleteFile(std::string(kPics) + "Citt\u00E0\u0161.bmp"));
  EXPECT_EQ(CachedPicture("CITT\u00C0\u0160"), p);  // a grave and s caron in capitals
  EXPECT_EQ(CachedPicture("Citt\u00E1\u0161"), nullptr);
}

TEST_F(Pics, PngButtonsKeepAnImageWhoseFileIsMissing) {
  Put("BtnSalva.png", Png(4, 3, RGB(10, 20, 30), 128));
  Put("BtnSalva_Down.png", Png(4, 3, RGB(1, 1, 1), 255));
  auto button = MakeComponent(ComponentKind::PngButton, "BtnSalva");
  button->properties[kPngImageOverProperty] = "PNG.Vecchia";
  SetButtonPicture(*button, "BtnSalva", 1);
  EXPECT_EQ(button->Property(kPngImageProperty), "PNG.BtnSalva");
  EXPECT_EQ(button->Property(kPngImageOverProperty), "PNG.Vecchia");
  EXPECT_EQ(button->Property(kPngImageDownProperty), "PNG.BtnSalva_Down");
  const Picture* p = CachedPicture("PNG.BtnSalva");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->rgb.width, 4);
  EXPECT_EQ(p->rgb.At(3, 2), RGB(10, 20, 30));
  ASSERT_EQ(p->alpha.size(), 12u);
  EXPECT_EQ(p->alpha[0], 128);
  EXPECT_TRUE(CachedPicture("PNG.BtnSalva_Down")->alpha.empty());  // opaque
  EXPECT_EQ(LoadPicture("BtnSalva", true), p);
}

TEST_F(Pics, DamagedFilesGiveNoPictureAndAreNotCached) {
  std::string png = Png(4, 4, RGB(1, 2, 3), 255);
  Put("Rotta.png", png.substr(0, png.size() / 2));
  Put("Rotta.bmp", Bmp24(4, 4, [](int, int) { return 0; }).substr(0, 60));
  Put("Falsa.bmp", "non una figura");
  EXPECT_EQ(LoadPng("Rotta"), nullptr);
  EXPECT_EQ(LoadPicture("Rotta", false), nullptr);
  EXPECT_EQ(LoadPicture("Falsa", false), nullptr);
  Put("Rotta.png", png);  // repaired: read now
  EXPECT_NE(LoadPng("Rotta"), nullptr);
  // A header claiming a huge bitmap is refused before any allocation.
  std::string huge = Bmp24(2, 2, [](int, int) { return 0; });
  huge.replace(18, 4, Le32(30000));
  huge.replace(22, 4, Le32(30000));
  Picture out;
  std::string error;
  EXPECT_FALSE(DecodeBmp(huge, &out, &error));
  EXPECT_EQ(error, "the bitmap is too large");
}

TEST(Bmp, PalettedAndTopDownBitmaps) {
  // 3 x 2, 8 bits, palette of two colours, bottom-up: rows padded to 4 bytes.
  std::string info =
      Le32(40) + Le32(3) + Le32(2) + Le16(1) + Le16(8) + Le32(0) + Le32(8) + Le32(0) + Le32(0) + Le32(2) + Le32(0);
  std::string palette = std::string{char(255), 0, 0, 0} + std::string{0, char(255), 0, 0};  // blue, green
  std::string data = std::string{1, 0, 1, 0} + std::string{0, 0, 1, 0};                     // bottom row first
  std::string bmp = "BM" + Le32(0) + Le32(0) + Le32(uint32_t(14 + 40 + 8)) + info + palette + data;
  Picture p;
  ASSERT_TRUE(DecodeBmp(bmp, &p, nullptr));
  EXPECT_EQ(p.rgb.At(0, 0), RGB(0, 0, 255));  // top row: 0 0 1
  EXPECT_EQ(p.rgb.At(2, 0), RGB(0, 255, 0));
  EXPECT_EQ(p.rgb.At(0, 1), RGB(0, 255, 0));  // bottom row: 1 0 1
  EXPECT_EQ(p.rgb.At(1, 1), RGB(0, 0, 255));
  // 32 bits top-down.
  std::string info32 = Le32(40) + Le32(1) + Le32(uint32_t(-2)) + Le16(1) + Le16(32) + Le32(0) + Le32(8) + Le32(0) +
                       Le32(0) + Le32(0) + Le32(0);
  std::string bmp32 = "BM" + Le32(0) + Le32(0) + Le32(54) + info32 + std::string{3, 2, 1, 0} + std::string{6, 5, 4, 0};
  ASSERT_TRUE(DecodeBmp(bmp32, &p, nullptr));
  EXPECT_EQ(p.rgb.At(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(p.rgb.At(0, 1), RGB(4, 5, 6));
}

TEST(Colours, LighterTakesTheValueAsItIsDarkerResolvesIt) {
  host::HostPlatform hp;
  hp.Canvases().SetSysColor(15, RGB(240, 230, 20));
  EXPECT_EQ(Lighter(RGB(255, 255, 255), 50), RGB(255, 255, 255));
  EXPECT_EQ(Lighter(RGB(10, 250, 0), 10), RGB(20, 255, 10));
  EXPECT_EQ(Lighter(0x8000000F, 1), RGB(0x10, 1, 1));  // not resolved, high byte cleared
  EXPECT_EQ(Darker(0x8000000F, 50), RGB(190, 180, 0));
  // Amounts past a channel's range saturate instead of overflowing.
  EXPECT_EQ(Lighter(RGB(1, 2, 3), INT32_MAX), RGB(255, 255, 255));
  EXPECT_EQ(Darker(RGB(1, 2, 3), INT32_MIN), RGB(255, 255, 255));
  EXPECT_EQ(Darker(RGB(200, 2, 3), INT32_MAX), RGB(0, 0, 0));
  auto panel = MakeComponent(ComponentKind::FlatPanel, "PnlBase");
  SetFlatPanelColors(*panel, RGB(100, 100, 100), 30);
  EXPECT_EQ(panel->Property("Color"), std::to_string(RGB(100, 100, 100)));
  EXPECT_EQ(panel->Property("ColorHighLight"), std::to_string(RGB(130, 130, 130)));
  EXPECT_EQ(panel->Property("ColorShadow"), std::to_string(RGB(70, 70, 70)));
}

TEST(Menus, TrimClearAndAdd) {
  auto form = MakeComponent(ComponentKind::Form, "FormProva");
  Component& menu = form->Add(ComponentKind::PopupMenu, "PopMenu");
  int clicked = 0;
  for (int i = 0; i < 5; ++i)
    AddMenuItem(
        form.get(), menu, "PopItem" + std::to_string(i), "Voce " + std::to_string(i),
        [&](Component& c) { clicked = int(c.tag); }, 10 + i, -1);
  Component& first = AddMenuItem(nullptr, menu, "PopFirst", "Prima", nullptr, 0, 0);
  EXPECT_EQ(menu.Child(0).name, "PopFirst");
  EXPECT_EQ(first.Owner(), form.get());
  menu.Remove(first);
  menu.Child(3).Fire("OnClick");
  EXPECT_EQ(clicked, 13);
  EXPECT_EQ(menu.Child(3).HandlerName("OnClick"), "PopItem3Click");

  TrimMenu(menu, 2, true);
  ASSERT_EQ(menu.ChildCount(), 2u);
  EXPECT_EQ(menu.Child(0).caption, "Voce 3");
  EXPECT_EQ(menu.Child(1).caption, "Voce 4");
  EXPECT_EQ(form->FindOwned("PopItem0"), nullptr);  // freed, not just taken off
  Component& sep = AddMenuSeparator(menu, form.get());
  EXPECT_TRUE(sep.IsSeparator());
  TrimMenu(menu, 1, false);
  ASSERT_EQ(menu.ChildCount(), 1u);
  EXPECT_EQ(menu.Child(0).caption, "Voce 3");
  TrimMenu(menu, 5, true);  // more than there are: nothing goes
  EXPECT_EQ(menu.ChildCount(), 1u);
  ClearMenu(menu);
  EXPECT_EQ(menu.ChildCount(), 0u);
}

}  // namespace
}  // namespace tov
