// libFuzzer target for the docking record as the bar loads it from the
// registry: the first byte picks the value's type (0: a string, else binary),
// the rest are its bytes. Loading answers a record, "no record", or throws the
// bar's error for a value of the wrong type or size; a record that loads is in
// range (repaired), saves back to 88 bytes, and those load to the same record.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "docking/AppBar.h"
#include "fuzz/FuzzPlatform.h"
#include "platform/host/HostRegistry.h"

namespace {

using namespace tov;

const char kKey[] = "Software\\Brenvoll\\Fuzz";

void CheckInRange(const TAppBarSettings& s) {
  if (s.Edge > abeFloat || s.Edge == abeUnknown) std::abort();
  if (s.Flags & ~kAllAppBarFlags) std::abort();
  if (s.TaskEntry > abtFloatDependent) std::abort();
  if (s.AutoHide > 1 || s.AlwaysOnTop > 1 || s.SlideEffect > 1) std::abort();
  if (s.ScreenIndex < 0 || s.ScreenIndex >= kScreenTableSize) std::abort();
  if (s.SlideTime < 0 || s.HorzDockSize < 0 || s.VertDockSize < 0) std::abort();
  if (s.FloatRight < s.FloatLeft || s.FloatBottom < s.FloatTop) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::HostPlatform& platform = fuzz::Platform();
  if (size == 0) return 0;
  const RegType type = data[0] == 0 ? RegType::String : RegType::Binary;
  const std::vector<uint8_t> bytes(data + 1, data + size);
  if (!platform.Registry().CreateKey(kKey) || !platform.Registry().WriteRaw(kKey, "", type, bytes)) std::abort();

  TAppBar bar;
  bar.SetKeyName(kKey);
  bool loaded = false;
  try {
    loaded = bar.LoadSettings();
  } catch (const std::runtime_error&) {
    if (type == RegType::Binary && bytes.size() <= kAppBarSettingsSize) std::abort();
    return 0;
  }
  if (loaded != (bytes.size() == kAppBarSettingsSize)) std::abort();
  if (!loaded) return 0;

  const TAppBarSettings first = bar.Settings();
  CheckInRange(first);
  TAppBarSettings again = first;
  if (RepairAppBarSettings(again, kScreenTableSize)) std::abort();  // a repaired record needs no more repair
  const std::vector<uint8_t> packed = PackAppBarSettings(first);
  if (!bar.SaveSettings()) std::abort();
  RegValue stored;
  if (!platform.Registry().ReadValue(kKey, "", &stored)) std::abort();
  if (stored.type != RegType::Binary || stored.data != packed || stored.data.size() != kAppBarSettingsSize)
    std::abort();
  TAppBar other;
  other.SetKeyName(kKey);
  if (!other.LoadSettings()) std::abort();
  if (PackAppBarSettings(other.Settings()) != packed) std::abort();
  return 0;
}
