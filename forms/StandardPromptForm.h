// The value prompt's form resource: a panel with a label and a one-line edit
// above a strip with the confirm and cancel buttons.
#pragma once
#include <memory>

#include "forms/Component.h"

namespace tov {

// Modal results the prompt's buttons end it with.
inline constexpr int kPromptConfirmed = 1;
inline constexpr int kPromptCancelled = 2;

std::unique_ptr<Component> BuildStandardPromptForm();

}  // namespace tov
