// libFuzzer target for the icon cache's reader: any bytes are read whole or
// refused, never a crash, a read out of bounds or a huge allocation; what
// is read writes back to the very same bytes and keeps within the bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/IconCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tov;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TIconCache cache;
  if (!cache.Parse(bytes)) {
    if (cache.Count() != 0) std::abort();
    return 0;
  }
  if (cache.Count() > TIconCache::kMaxIcons || cache.Bytes() > TIconCache::kMaxBytes) std::abort();
  if (cache.Serialize() != bytes) std::abort();
  return 0;
}
