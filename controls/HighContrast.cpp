#include "controls/HighContrast.h"

namespace tov {

SystemLook HighContrastLook(LookState state) {
  switch (state) {
    case LookState::Hot:
    case LookState::Down:
    case LookState::Focused:
      return SystemLook{clHighlight, clHighlightText, clBtnHighlight, clBtnShadow};
    case LookState::Disabled:
      return SystemLook{clBtnFace, clGrayText, clBtnHighlight, clBtnShadow};
    case LookState::Normal:
      break;
  }
  return SystemLook{clBtnFace, clBtnText, clBtnHighlight, clBtnShadow};
}

ControlColours HighContrastControl(bool link) { return ControlColours{link ? clHotLight : clBtnText, kNoColor}; }

}  // namespace tov
