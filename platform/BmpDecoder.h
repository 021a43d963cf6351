// A reader of Windows bitmap files (.bmp): the OS/2 core header and the
// Windows headers up to version 5; 1, 4, 8, 16, 24 and 32 bits per pixel,
// bottom-up or top-down; RLE4 and RLE8; colour masks for 16 and 32 bits, an
// alpha mask giving alpha.
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
