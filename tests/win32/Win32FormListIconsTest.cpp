// A dialog's list view shows a row's file icon as the shell draws it at the
// list's own size for the dialog's scale (16 pixels at 100 %, 24 at 150 %),
// not the shell's 32-pixel icon drawn down; a row that names no file keeps
// the shell's image by index. Run under Wine in CI.
#include <gtest/gtest.h>

#include "tests/win32/DialogSteps.h"
#include "tests/win32/Display.h"
#include "tests/win32/Screenshot.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32NativeForm.h"
#include "platform/win32/Win32Platform.h"

namespace tov {
namespace {

constexpr const char* kNotepad = "C:\\windows\\notepad.exe";
constexpr const char* kRegedit = "C:\\windows\\regedit.exe";

struct Events : IFormEvents {
  bool ended = false;
  void Clicked(ControlId) override {}
  void TextChanged(ControlId, const std::string&) override {}
  void SelectionChanged(ControlId, int) override {}
  void CheckChanged(ControlId, bool) override {}
  void Spun(ControlId, int) override {}
  void DateChanged(ControlId, bool, const DateTime&) override {}
  void Dragged(ControlId, int, int) override {}
  void RowsSelected(ControlId, const std::vector<int>&) override {}
  bool CaptionEdited(ControlId, int, const std::string&) override { return true; }
  void DoubleClicked(ControlId) override {}
  void FrameChanged(const Rect&) override {}
  void FocusChanged(ControlId) override {}
  void CloseRequested() override { ended = true; }
  ControlId DefaultButton() override { return 0; }
  ControlId CancelButton() override { return 0; }
  void PaintControl(ControlId, ICanvas&, const PaintState&) override {}
  void PaintBackground(ControlId, ICanvas& canvas) override {
    canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, RGB(236, 233, 216));
  }
  void Shown() override {}
  void TimerFired(int) override {}
  bool Ended() override { return ended; }
};

constexpr COLORREF kBack = RGB(250, 240, 230);

// What a row's image shows over kBack: its side, and its pixels.
struct RowImage {
  int side = 0;
  std::vector<uint32_t> pixels;
};

RowImage ImageOfRow(HWND list, int row) {
  RowImage out;
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  LVITEMA it{};
  it.mask = LVIF_IMAGE;
  it.iItem = row;
  int cx = 0, cy = 0;
  if (!images || !SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&it)) || it.iImage < 0 ||
      !ImageList_GetIconSize(images, &cx, &cy))
    return out;
  out.side = cx;
  BITMAPINFO bi = win32::TopDownDibInfo(cx, cx);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(kBack);
  RECT all{0, 0, cx, cx};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  ImageList_Draw(images, it.iImage, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < cx * cx; ++i)
    out.pixels.push_back(px[i] & 0xFFFFFF);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return out;
}

// The shell's icon of path at side pixels over kBack; empty without one.
std::vector<uint32_t> ShellIconOver(const char* path, int side) {
  Picture p;
  std::vector<uint32_t> out;
  if (!Shell().IconPicture(path, side, &p) || p.rgb.width != side) return out;
  for (size_t i = 0; i < size_t(side) * size_t(side); ++i) {
    const Color c = p.rgb.pixels[i];
    const uint32_t a = p.alpha.empty() ? 255 : p.alpha[i];
    auto mix = [a](uint32_t fore, uint32_t back) { return (fore * a + back * (255 - a) + 127) / 255; };
    out.push_back((mix(GetRValue(c), GetRValue(kBack)) << 16) | (mix(GetGValue(c), GetGValue(kBack)) << 8) |
                  mix(GetBValue(c), GetBValue(kBack)));
  }
  return out;
}

// Pixels of a row's image unlike the shell's icon, or -1 when the sizes
// differ. An image list blends its images premultiplied, which may round a
// channel of a pixel partly clear one step the other way: more is a
// different picture.
int Differing(const RowImage& shown, const std::vector<uint32_t>& want) {
  if (shown.pixels.size() != want.size() || want.empty()) return -1;
  int n = 0;
  for (size_t i = 0; i < want.size(); ++i)
    for (int shift : {0, 8, 16})
      if (std::abs(int((shown.pixels[i] >> shift) & 0xFF) - int((want[i] >> shift) & 0xFF)) > 1) {
        ++n;
        break;
      }
  return n;
}

TEST(Win32FormListIcons, ARowsFileIconIsTheShellsAtTheListsSizeForEachScale) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  FrameDesc frame;
  frame.name = frame.caption = "Rows";
  frame.bounds = Rect{80, 80, 80 + 300, 80 + 160};
  frame.border = FrameBorder::Dialog;
  Events events;
  std::unique_ptr<INativeForm> form = win32::CreateNativeForm(frame, nullptr, events);
  ControlDesc list;
  list.type = ControlType::ListView;
  list.name = "list";
  list.bounds = Rect{10, 10, 290, 150};
  list.columns = {ColumnDesc{"Name", 200}};
  // A row that names its file, one that has only the shell's image by index,
  // one whose file the shell has no icon for (its index stays), one with none.
  // And the same file by index alone, as rows showed it before they named
  // their files.
  SHFILEINFOA info{}, notepad{};
  SHGetFileInfoA(kRegedit, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHGetFileInfoA(kNotepad, 0, &notepad, sizeof notepad, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  list.rows = {{"Notepad"}, {"Regedit"}, {"Gone"}, {"Nothing"}, {"Notepad by index"}};
  list.rowImages = {notepad.iIcon, info.iIcon, info.iIcon, -1, notepad.iIcon};
  list.rowIconPaths = {kNotepad, "", "C:\\no\\such\\file.exe", "", ""};
  const ControlId id = form->AddControl(list);

  struct Seen {
    RowImage named, indexed, gone, nothing, byIndex;
    int dpi = 0;
  };
  std::vector<Seen> seen;
  auto look = [&](HWND dialog) {
    HWND h = GetDlgItem(dialog, int(id));
    seen.push_back(Seen{ImageOfRow(h, 0), ImageOfRow(h, 1), ImageOfRow(h, 2), ImageOfRow(h, 3), ImageOfRow(h, 4),
                        win32::WindowDpi(h)});
  };
  std::vector<std::function<void(HWND)>> steps = {
      [&](HWND d) {
        look(d);
        testing::ChangeDpi(d, win32::WindowDpi(d), 144);
      },
      [&](HWND d) {
        look(d);
        testing::SaveScreenshot(d, "list-icons-150");
        testing::ChangeDpi(d, 144, 96);
      },
      [&](HWND d) {
        look(d);
        testing::ChangeDpi(d, 96, 144);
      },
      [&](HWND d) { look(d); },
  };
  const size_t ran = testing::RunDialogSteps("Rows", steps, &events.ended, [&] { form->RunModal(); });
  ASSERT_EQ(ran, steps.size());
  ASSERT_EQ(seen.size(), 4u);

  const std::vector<uint32_t> notepad16 = ShellIconOver(kNotepad, 16), notepad24 = ShellIconOver(kNotepad, 24);
  ASSERT_EQ(notepad24.size(), 24u * 24u);
  for (size_t i = 1; i < seen.size(); ++i) {
    const Seen& s = seen[i];
    const int side = i % 2 == 1 ? 24 : 16;
    SCOPED_TRACE(side);
    // The named row: the shell's icon of its file at the side, pixel for
    // pixel (a 32-pixel icon drawn down would differ).
    EXPECT_EQ(s.named.side, side);
    EXPECT_EQ(Differing(s.named, side == 24 ? notepad24 : notepad16), 0);
    // The row by index and the one whose file has no icon still show the
    // shell's image; the row with neither shows none.
    EXPECT_EQ(s.indexed.side, side);
    EXPECT_EQ(s.gone.pixels, s.indexed.pixels);
    EXPECT_EQ(s.nothing.side, 0);
  }
  // The file's icon was not the index's: the rows show different pictures.
  EXPECT_NE(seen[1].named.pixels, seen[1].indexed.pixels);
  // What the index alone gave at 150 % is not the shell's 24-pixel icon of
  // the file: the named row's is.
  EXPECT_EQ(seen[1].byIndex.side, 24);
  EXPECT_GT(Differing(seen[1].byIndex, notepad24), 0);
}

}  // namespace
}  // namespace tov
