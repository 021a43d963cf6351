// The resource of the error report's window: its components as designed.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

std::unique_ptr<Component> BuildExceptMessageForm();

}  // namespace tov
