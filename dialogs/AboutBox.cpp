#include "dialogs/AboutBox.h"

#include <exception>

#include "base/Product.h"
#include "files/FileHelpers.h"
#include "forms/AboutBoxForm.h"
#include "platform/Platform.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormRuntime.h"

namespace tov {

namespace {

constexpr Color kBtnFace = 0x8000000F;
constexpr Color kBtnShadow = 0x80000010;
constexpr Color kBtnHighlight = 0x80000014;

FontSpec CreditsFont() {
  FontSpec f;
  f.name = "Tahoma";
  f.size = 8;
  f.style = kFontBold;
  return f;
}

}  // namespace

void PaintLogo(ICanvas& canvas) {
  const int w = canvas.Width(), h = canvas.Height();
  // A pale sky with the bar docked along its top: a dark strip holding
  // buttons of four colours, and the name below it.
  canvas.FillRect(Rect{0, 0, w, h}, RGB(0xEE, 0xF3, 0xFA));
  const int strip = h / 4;
  canvas.FillRect(Rect{0, 0, w, strip}, RGB(0x24, 0x3B, 0x5E));
  canvas.FillRect(Rect{0, strip, w, strip + 1}, RGB(0x10, 0x1C, 0x2E));
  const Color buttons[] = {RGB(0xF2, 0x9A, 0x2E), RGB(0x3C, 0xB3, 0x71), RGB(0x2F, 0x80, 0xED), RGB(0xE0, 0x4F, 0x5F)};
  const int size = strip - 8, gap = 5;
  for (int i = 0; i < 4; ++i) {
    const Rect b{6 + i * (size + gap), 4, 6 + i * (size + gap) + size, 4 + size};
    canvas.FillRect(b, buttons[i]);
    canvas.FrameRect(b, RGB(0xFF, 0xFF, 0xFF));
  }
  FontSpec name;
  name.name = "Tahoma";
  name.size = 20;
  name.style = kFontBold;
  name.color = RGB(0x24, 0x3B, 0x5E);
  canvas.SetFont(name);
  Rect r{0, strip + 1, w, h};
  canvas.DrawTextIn(kProductName, r, kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix);
}

TFormAboutBox::TFormAboutBox(std::string language) : form_(BuildAboutBoxForm()), language_(std::move(language)) {
  credits_ = &Need("Crediti");
  Need("Image1").painter = [](ICanvas& canvas, const Component&) { PaintLogo(canvas); };
  credits_->painter = [this](ICanvas& canvas, const Component& self) { PaintCredits(canvas, self); };
  Need("IndirizzoWeb").caption = kSupportMail;
  Need("IndirizzoWeb").properties["Link"] = std::string("mailto:") + kSupportMail;
  Need("URLLabel1").caption = kProductPage;
  Need("URLLabel1").properties["Link"] = kProductPage;
  form_->SetHandler("FormShow", [this](Component&) { FormShow(); });
  form_->SetHandler("TmrCreditiTimer", [this](Component&) { ScrollCredits(); });
  auto open = [](Component& link) { Shell().Open(WindowId(0), link.Property("Link"), "", ""); };
  form_->SetHandler("IndirizzoWebClick", open);
  form_->SetHandler("URLLabel1Click", open);
}

Component& TFormAboutBox::Need(const char* name) { return form_->Need(name); }

void TFormAboutBox::FormShow() {
  if (!language_.empty()) ApplyLanguage(*form_, language_);
  credits_->lines = {
      kProductName,
      LangText("Messages.Versione", "Versione") + " " + kProgramVersion,
      "",
      LangText("Messages.UltimaModifica", "Ultima Modifica"),
      FileDateTimeText(Files().ExePath()),
      "",
      "Brenvoll web site",
      kMakerWebHost,
  };
  offset_ = 0;
  form_->Changed();
}

void TFormAboutBox::ScrollCredits() {
  std::unique_ptr<ICanvas> probe = Canvases().CreateBitmapCanvas(1, 1);
  probe->SetFont(CreditsFont());
  const int lineHeight = probe->TextExtent("Wg").cy;
  // From below the panel until the last line has left it at the top.
  const int travel = credits_->bounds.Height() + lineHeight * int(credits_->lines.size());
  offset_ = offset_ + 1 >= travel ? 0 : offset_ + 1;
  credits_->Changed();
}

void TFormAboutBox::PaintCredits(ICanvas& canvas, const Component& self) const {
  const int w = canvas.Width(), h = canvas.Height();
  canvas.FillRect(Rect{0, 0, w, h}, kBtnFace);
  // The lowered frame of the panel.
  canvas.FillRect(Rect{0, 0, w - 1, 1}, kBtnShadow);
  canvas.FillRect(Rect{0, 0, 1, h - 1}, kBtnShadow);
  canvas.FillRect(Rect{0, h - 1, w, h}, kBtnHighlight);
  canvas.FillRect(Rect{w - 1, 0, w, h}, kBtnHighlight);
  FontSpec font = CreditsFont();
  canvas.SetFont(font);
  const int lineHeight = canvas.TextExtent("Wg").cy;
  int y = h - offset_;
  for (const std::string& line : self.lines) {
    if (y + lineHeight > 1 && y < h - 1 && !line.empty()) {
      // Lowered lettering: the highlight a pixel below right, the shadow on top.
      Rect r{1, y, w - 1, y + lineHeight};
      Rect below{2, y + 1, w, y + lineHeight + 1};
      font.color = kBtnHighlight;
      canvas.SetFont(font);
      canvas.DrawTextIn(line, below, kDtCenter | kDtSingleLine | kDtNoPrefix);
      font.color = kBtnShadow;
      canvas.SetFont(font);
      canvas.DrawTextIn(line, r, kDtCenter | kDtSingleLine | kDtNoPrefix);
    }
    y += lineHeight;
  }
}

int TFormAboutBox::ShowModal(WindowId owner) { return ShowModalForm(*form_, owner); }

void ShowAboutBox(WindowId owner, const std::string& language) {
  std::unique_ptr<TFormAboutBox> box;
  try {
    box = std::make_unique<TFormAboutBox>(language);
  } catch (const std::exception& e) {
    ShowException(e.what());
    return;
  }
  box->ShowModal(owner);
}

}  // namespace tov
