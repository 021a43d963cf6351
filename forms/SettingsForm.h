// The resource of the settings dialog: its frame, the section list on the
// left, the title strip, the hint box and the scrolling page on the right,
// and the buttons below, as designed. The page's rows are made when a
// section is chosen.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

std::unique_ptr<Component> BuildSettingsForm();

}  // namespace tov
