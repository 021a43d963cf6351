// libFuzzer target for the shell link reader: any bytes must give a target
// or a reason, never a crash, a hang or a read out of bounds; and whatever
// reads as a link must write and read again to the same target and
// description when the writer takes that target.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ShellLinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tov;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ShellLinkContents first;
  std::string error;
  if (!ParseShellLink(bytes, &first, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (first.target.empty()) std::abort();
  std::string written;
  if (!BuildShellLink(first.target, first.description, {}, &written, &error)) return 0;
  ShellLinkContents second, third;
  if (!ParseShellLink(written, &second, &error)) std::abort();
  // The writer normalises the path once (drive letter, doubled separators);
  // from then on it stays.
  std::string again;
  if (!BuildShellLink(second.target, second.description, {}, &again, &error)) std::abort();
  if (!ParseShellLink(again, &third, &error)) std::abort();
  if (third.target != second.target || third.description != second.description) std::abort();
  if (second.description != first.description.substr(0, 0xFFFF)) std::abort();
  return 0;
}
