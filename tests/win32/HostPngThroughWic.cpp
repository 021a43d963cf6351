// The Windows build of the headless platform has no libpng: its PNG files go
// through the imaging component, so the picture tests run there as well.
#include "platform/host/HostImages.h"
#include "platform/win32/Win32Images.h"

namespace {

const bool installed = [] {
  tov::host::SetHostPngCodec(&tov::win32::WicCodec());
  return true;
}();

}  // namespace
