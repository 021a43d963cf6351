// The headless platform for fuzz targets that reach files, the registry or
// the system's settings: installed once, on first use, in a fresh temporary
// folder that goes when the process ends normally.
#pragma once
#include "platform/host/HostPlatform.h"

namespace tov::fuzz {

inline host::HostPlatform& Platform() {
  static host::HostPlatform platform;
  return platform;
}

}  // namespace tov::fuzz
