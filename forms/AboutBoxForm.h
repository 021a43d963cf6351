// The resource of the about box: its components as designed.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

std::unique_ptr<Component> BuildAboutBoxForm();

}  // namespace tov
