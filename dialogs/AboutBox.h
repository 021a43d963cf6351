// The about box: the program's logo, its credits scrolling without end (name,
// version, date of the executable, the maker's site) and where to write.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/Window.h"

namespace tov {

class TFormAboutBox {
 public:
  // Shown in that language ("": the form's own texts).
  explicit TFormAboutBox(std::string language);
  Component& Form() { return *form_; }
  // Applies the language, then the credits' lines afresh.
  void FormShow();
  int ShowModal(WindowId owner);
  // The lines the credits show, and how far they have scrolled.
  const std::vector<std::string>& CreditLines() const { return credits_->lines; }
  int CreditsOffset() const { return offset_; }
  // One step of the credits: a pixel up, from the start again once the
  // last line has gone.
  void ScrollCredits();

 private:
  Component& Need(const char* name);
  void PaintCredits(ICanvas& canvas, const Component& self) const;

  std::unique_ptr<Component> form_;
  Component* credits_;
  int offset_ = 0;
  std::string language_;
};

// The logo of the program, drawn to fill the canvas.
void PaintLogo(ICanvas& canvas);

// Creates the about box and shows it modally; an error while making it is
// shown as the application shows an exception no handler caught.
void ShowAboutBox(WindowId owner, const std::string& language);

}  // namespace tov
