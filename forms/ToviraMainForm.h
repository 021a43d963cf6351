// The bar window's form resource: its pop-up menus and their items, bound to
// the handler names the bar window offers.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

std::unique_ptr<Component> BuildToviraMainForm();

}  // namespace tov
