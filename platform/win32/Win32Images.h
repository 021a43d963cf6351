// Picture files (PNG, BMP) decoded by the Windows Imaging Component.
#pragma once
#include "platform/Canvas.h"

namespace tov::win32 {

class WicImageCodec : public IImageCodec {
 public:
  bool Decode(const std::string& bytes, Picture* out, std::string* error) override;
};

// The one codec of the process.
IImageCodec& WicCodec();

}  // namespace tov::win32
