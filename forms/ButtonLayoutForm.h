// The resource of the button layout dialog: the list of the bar's buttons
// with the buttons that move, delete and add them on its right; below, the
// combinations, the appearance editors and the preview, as designed.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

std::unique_ptr<Component> BuildButtonLayoutForm();

}  // namespace tov
