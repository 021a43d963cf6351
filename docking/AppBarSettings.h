// The persistent docking state of a bar: one 88-byte little-endian record.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "base/Dpi.h"

namespace tov {

enum TAppBarEdge : uint8_t { abeLeft = 0, abeTop = 1, abeRight = 2, abeBottom = 3, abeUnknown = 4, abeFloat = 5 };
enum TAppBarFlag : uint8_t {
  abfAllowLeft = 0,
  abfAllowTop = 1,
  abfAllowRight = 2,
  abfAllowBottom = 3,
  abfAllowFloat = 4
};
using TAppBarFlags = uint8_t;  // bit n stands for the flag of ordinal n
constexpr TAppBarFlags FlagBit(TAppBarFlag f) { return TAppBarFlags(1u << f); }
constexpr TAppBarFlags kAllAppBarFlags = 0x1F;
enum TAppBarTaskEntry : uint8_t { abtShow = 0, abtHide = 1, abtFloatDependent = 2 };

constexpr uint32_t kAppBarSettingsSize = 88;

struct TAppBarSettings {
  uint32_t cbSize = kAppBarSettingsSize;
  uint8_t Edge = abeFloat;
  TAppBarFlags Flags = kAllAppBarFlags;
  uint8_t AutoHide = 0;
  uint8_t AlwaysOnTop = 1;
  uint8_t SlideEffect = 1;
  std::array<uint8_t, 3> pad1{};  // kept as the last load brought them
  int32_t SlideTime = 400;
  int32_t HorzSizeInc = 1;
  int32_t VertSizeInc = 1;
  int32_t HorzDockSize = 32;
  int32_t VertDockSize = 32;
  int32_t FloatLeft = 0;
  int32_t FloatRight = 0;  // stored in the order left, right, top, bottom
  int32_t FloatTop = 0;
  int32_t FloatBottom = 0;
  int32_t MinWidth = 0;
  int32_t MinHeight = 0;
  int32_t MaxWidth = 0;
  int32_t MaxHeight = 0;
  int32_t MinHorzDockSize = 0;
  int32_t MinVertDockSize = 0;
  int32_t MaxHorzDockSize = 0;
  int32_t MaxVertDockSize = 0;
  uint8_t TaskEntry = abtFloatDependent;
  std::array<uint8_t, 3> pad2{};
  int32_t ScreenIndex = 0;
};

// The defaults of a fresh bar on a primary screen of that size.
TAppBarSettings DefaultAppBarSettings(int screenWidth, int screenHeight);
std::vector<uint8_t> PackAppBarSettings(const TAppBarSettings& s);
// Copies exactly 88 bytes into a record, without checks.
TAppBarSettings UnpackAppBarSettings(const uint8_t* bytes);

// A record read from the registry may hold anything. Brings every field the
// bar indexes or branches on back into its range, so that a damaged record
// neither crashes the bar nor puts it off every screen; answers whether
// anything changed.
bool RepairAppBarSettings(TAppBarSettings& s, int screenTableSize);

// The dock sizes (the thickness docked, its least and its most) given in
// pixels at one scale as pixels at another; the stored record keeps them at
// 96 DPI. The floating rectangle is a place on the screen and stays.
void ConvertDockSizes(TAppBarSettings& s, Dpi from, Dpi to);

}  // namespace tov
