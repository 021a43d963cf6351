// Image conversion: pictures written as PNG (on zlib) and as Windows
// bitmaps, and a bitmap file turned into a PNG file.
#pragma once
#include <string>

#include "platform/Canvas.h"

namespace tov {

// An 8-bit RGB PNG file (no alpha, not interlaced); each row filtered the
// way that suits it best, the data compressed at the zlib level given,
// limited to 0..9. Empty for an empty picture.
std::string EncodePng(const Bitmap& picture, int level);

// A 24-bit Windows bitmap file, rows bottom-up and padded to four bytes.
std::string EncodeBmp24(const Bitmap& picture);

// Reads the bitmap file and writes its picture as a PNG file (replacing it)
// at the compression level, limited to 0..9. False on any failure; a
// bitmap that cannot be read writes nothing.
bool BitmapFileToPngLevel(const std::string& bmpPath, const std::string& pngPath, int level);
// The same at the highest level.
bool BitmapFileToPng(const std::string& bmpPath, const std::string& pngPath);

}  // namespace tov
