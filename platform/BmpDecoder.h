// A reader of Windows bitmap files (.bmp): 1, 4, 8, 24 and 32 bits per pixel,
// uncompressed or with bit fields for 32 bits, bottom-up or top-down.
#pragma once
#include <string>

#include "platform/Canvas.h"

namespace tov {

bool IsBmpFile(const std::string& bytes);
bool IsPngFile(const std::string& bytes);
// False, with the reason, for a file it cannot read; sizes are checked
// against the file before anything is allocated.
bool DecodeBmp(const std::string& bytes, Picture* out, std::string* error);

}  // namespace tov
