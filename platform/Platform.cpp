#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace tov {

namespace {
Platform* g_platform = nullptr;
}

Platform* InstallPlatform(Platform* p) {
  Platform* old = g_platform;
  g_platform = p;
  return old;
}

Platform& Sys() {
  if (!g_platform) {
    std::fputs("tovira: no platform installed\n", stderr);
    std::abort();
  }
  return *g_platform;
}

}  // namespace tov
