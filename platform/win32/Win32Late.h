// Functions looked up when they are used rather than imported: those of newer
// systems, absent on older ones, and those of libraries loaded late on purpose
// (not mapped at start). A library once loaded stays for the process.
#pragma once
#include "platform/win32/WinApi.h"

namespace tov::win32 {

// The function `name` of a library already loaded; null where it has none.
template <typename Fn>
Fn FunctionOf(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The function `name` of `library`, which is loaded if it is not yet; null
// where the library or the function is missing.
template <typename Fn>
Fn LateFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return FunctionOf<Fn>(module, name);
}

}  // namespace tov::win32
