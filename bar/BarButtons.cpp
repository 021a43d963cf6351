// The bar's buttons: windowless speed buttons on the bar window, fed with
// the window's mouse, opening their targets when clicked.
#include "bar/BarWindow.h"
#include "base/Strings.h"
#include "controls/ButtonStyle.h"
#include "controls/ButtonTable.h"
#include "dialogs/StandardPrompt.h"
#include "files/FileHelpers.h"
#include "tables/DataModule.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/PopupMenu.h"

namespace tov {

namespace {

// MK_ flags of mouse messages.
enum : uintptr_t { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 0x10 };

Point ClientPoint(intptr_t lParam) {
  return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)};
}

uint32_t ShiftOf(uintptr_t keys) {
  uint32_t s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (System().KeyDown(VK_MENU)) s |= ssAlt;
  return s;
}

}  // namespace

TLbSpeedButton& TBarWindow::AddBarButton(TRecordTable& links, int order, Dpi dpi) {
  TLbSpeedButton& b = AddButton();
  b.tag = order;
  b.SetTransparent(false);
  b.showHint = true;
  b.hint = links.FieldByName("Caption").AsString();
  b.popupMenu = &Menu("PopupButtonMenu");
  TCustomButtonStyle style;
  style.LoadFromRow(links);
  style.ApplyToButton(b, nullptr, dpi);
  if (style.ShowIcon) icons_.Want(order, style.Path, style.IconPixels());
  b.OnMouseMove = [this](TLbSpeedButton&, uint32_t, int, int) { FormMouseMove(); };
  b.OnClick = [this](TLbSpeedButton& sender) { ButtonClick(sender); };
  return b;
}

void TBarWindow::ButtonClick(TLbSpeedButton& button) { LaunchOrSwitch(button); }

void TBarWindow::BuildFolderMenus() { folderMenus_.Build(ButtonCount() + separatorRects_.size()); }

void TBarWindow::PopBtnSpostaClick(bool after) {
  if (!menuButton_) return;
  const int order = int(menuButton_->tag);
  menuButton_ = nullptr;
  if (after)
    MoveButtonAfter(data_.TblLinks, order);
  else
    MoveButtonBefore(data_.TblLinks, order);
  RebuildBar();
}

void TBarWindow::PopBtnRinominaClick() {
  if (!menuButton_) return;
  // The prompt is modal: the bar may be rebuilt meanwhile, so nothing of the
  // button is used after it.
  const int order = int(menuButton_->tag);
  const std::string shown = menuButton_->Caption();
  menuButton_ = nullptr;
  const std::string caption = AskText(kPromptNuovaCaption, shown, Handle(), settings_.Lingua);
  if (caption.empty()) return;
  TRecordTable& links = data_.TblLinks;
  if (ForbiddenCharPos(caption) != 0) {
    ErrorMessage(FormatText(LangText("MsgErr.CaptionForbiddenChar",
                                     "L'etichetta \"%s\" non pu\u00F2 essere usata: il file del pulsante ne prende "
                                     "il nome, e un nome di file non pu\u00F2 contenere \\ / : * ? \" < >."),
                            {caption}));
    return;
  }
  if (RenameButtonRow(links, order, caption) != 0 && links.FieldByName("Caption").AsString() != caption) {
    // The row keeps its caption when its file could not take the new name.
    const std::string path = links.FieldByName("Path").AsString();
    ErrorMessage(FormatText(LangText("MsgErr.ButtonNotRenamed",
                                     "Il file \"%s\" non pu\u00F2 essere rinominato in \"%s\": il pulsante "
                                     "mantiene la sua etichetta."),
                            {path, caption}));
  }
  RebuildBar();
}

void TBarWindow::PopBtnEliminaClick() {
  if (!menuButton_) return;
  const int order = int(menuButton_->tag);
  menuButton_ = nullptr;
  const bool deleteFile = ConfirmDeleteFiles();
  TRecordTable& links = data_.TblLinks;
  const std::string path =
      links.Locate("Ordine", std::to_string(order)) ? links.FieldByName("Path").AsString() : std::string();
  DeleteButtonRow(links, order, deleteFile);
  RebuildBar();
  // The button is gone whatever happens to its file; a file that stays is named.
  if (deleteFile && !path.empty() && Files().FileExists(path))
    ErrorMessage(LangText("MsgErr.FilesNotDeleted",
                          "Questi file non sono stati eliminati (gli elementi sono stati tolti dalla barra):") +
                 "\r\n" + path);
}

void TBarWindow::InvalidateArea(const Rect&, bool now) {
  Invalidate();
  // During a rebuild each new button is styled and moved into place: painting
  // the whole bar at each step would cost as many paints as there are buttons
  // for every button. The rebuild's invalidation paints the bar once.
  if (now && rebuilding_ == 0 && HandleAllocated()) Window().UpdateNow();
}

Point TBarWindow::ClientToScreen(Point p) {
  Rect c = Window().ClientRectOnScreen();
  return Point{c.left + p.x, c.top + p.y};
}

void TBarWindow::PopupAt(Component& menu, Point screen) { PopupComponentMenu(menu, screen, Handle()); }

bool TBarWindow::ControlAtPoint(Point screen) {
  Rect c = Window().ClientRectOnScreen();
  return ButtonAtPoint(Point{screen.x - c.left, screen.y - c.top}) != nullptr;
}

intptr_t TBarWindow::MouseMessage(Message& m) {
  const Point p = ClientPoint(m.lParam);
  const uint32_t shift = ShiftOf(m.wParam);
  switch (m.msg) {
    case WM_MOUSEMOVE:
      FormMouseMove();
      HostMouseMove(p, shift);
      break;
    case WM_LBUTTONDOWN:
      HostMouseDown(mbLeft, p, shift);
      break;
    case WM_LBUTTONUP:
      HostMouseUp(mbLeft, p, shift);
      break;
    case WM_RBUTTONDOWN:
      HostMouseDown(mbRight, p, shift);
      break;
    case WM_RBUTTONUP: {
      HostMouseUp(mbRight, p, shift);
      // A right click opens the menu of the button under the mouse, or the bar's own.
      TLbSpeedButton* b = ButtonAtPoint(p);
      menuButton_ = b;
      PopupComponentMenu(b && b->popupMenu ? *b->popupMenu : Menu("PopupMenu"), ClientToScreen(p), Handle());
      break;
    }
    case WM_MOUSELEAVE:
      HostMouseLeave();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace tov
