// The host's picture decoder: bitmaps with the portable reader, PNG files
// with libpng. A build without libpng (the Windows build of the headless
// platform) hands PNG files to the codec installed with SetHostPngCodec.
#pragma once
#include "platform/Canvas.h"

namespace tov::host {

class HostImageCodec : public IImageCodec {
 public:
  bool Decode(const std::string& bytes, Picture* out, std::string* error) override;
};

// The decoder of PNG files where libpng is missing; not owned.
void SetHostPngCodec(IImageCodec* codec);

}  // namespace tov::host
