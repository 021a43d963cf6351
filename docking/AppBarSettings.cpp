#include "docking/AppBarSettings.h"

#include <cstring>
#include <utility>

#include "base/Bytes.h"

namespace tov {

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, int32_t v) { SetLe(out, at, uint32_t(v), 4); }

int32_t Get32(const uint8_t* in, size_t at) { return int32_t(ByteReader(in, kAppBarSettingsSize).Le32Or0(at)); }

}  // namespace

TAppBarSettings DefaultAppBarSettings(int screenWidth, int screenHeight) {
  TAppBarSettings s;
  s.MaxWidth = screenWidth;
  s.MaxHeight = screenHeight;
  s.MaxHorzDockSize = screenWidth / 2;
  s.MaxVertDockSize = screenHeight / 2;
  return s;
}

std::vector<uint8_t> PackAppBarSettings(const TAppBarSettings& s) {
  std::vector<uint8_t> out(kAppBarSettingsSize, 0);
  Put32(out, 0, int32_t(s.cbSize));
  out[4] = s.Edge;
  out[5] = s.Flags;
  out[6] = s.AutoHide;
  out[7] = s.AlwaysOnTop;
  out[8] = s.SlideEffect;
  std::memcpy(&out[9], s.pad1.data(), 3);
  const int32_t ints[] = {s.SlideTime,       s.HorzSizeInc,    s.VertSizeInc, s.HorzDockSize,    s.VertDockSize,
                          s.FloatLeft,       s.FloatRight,     s.FloatTop,    s.FloatBottom,     s.MinWidth,
                          s.MinHeight,       s.MaxWidth,       s.MaxHeight,   s.MinHorzDockSize, s.MinVertDockSize,
                          s.MaxHorzDockSize, s.MaxVertDockSize};
  for (size_t i = 0; i < std::size(ints); ++i)
    Put32(out, 12 + 4 * i, ints[i]);
  out[80] = s.TaskEntry;
  std::memcpy(&out[81], s.pad2.data(), 3);
  Put32(out, 84, s.ScreenIndex);
  return out;
}

TAppBarSettings UnpackAppBarSettings(const uint8_t* in) {
  TAppBarSettings s;
  s.cbSize = uint32_t(Get32(in, 0));
  s.Edge = in[4];
  s.Flags = in[5];
  s.AutoHide = in[6];
  s.AlwaysOnTop = in[7];
  s.SlideEffect = in[8];
  std::memcpy(s.pad1.data(), in + 9, 3);
  int32_t* ints[] = {&s.SlideTime,       &s.HorzSizeInc,    &s.VertSizeInc, &s.HorzDockSize,    &s.VertDockSize,
                     &s.FloatLeft,       &s.FloatRight,     &s.FloatTop,    &s.FloatBottom,     &s.MinWidth,
                     &s.MinHeight,       &s.MaxWidth,       &s.MaxHeight,   &s.MinHorzDockSize, &s.MinVertDockSize,
                     &s.MaxHorzDockSize, &s.MaxVertDockSize};
  for (size_t i = 0; i < std::size(ints); ++i)
    *ints[i] = Get32(in, 12 + 4 * i);
  s.TaskEntry = in[80];
  std::memcpy(s.pad2.data(), in + 81, 3);
  s.ScreenIndex = Get32(in, 84);
  return s;
}

bool RepairAppBarSettings(TAppBarSettings& s, int screenTableSize) {
  bool changed = false;
  auto fix = [&](auto& field, auto value) {
    if (field != value) {
      field = value;
      changed = true;
    }
  };
  // An edge the bar does not know, or "not registered", docks at the top,
  // where the program itself puts a new bar.
  if (s.Edge > abeFloat || s.Edge == abeUnknown) fix(s.Edge, uint8_t(abeTop));
  if (s.Flags & ~kAllAppBarFlags) fix(s.Flags, TAppBarFlags(s.Flags & kAllAppBarFlags));
  if (s.TaskEntry > abtFloatDependent) fix(s.TaskEntry, uint8_t(abtFloatDependent));
  if (s.AutoHide > 1) fix(s.AutoHide, uint8_t(1));
  if (s.AlwaysOnTop > 1) fix(s.AlwaysOnTop, uint8_t(1));
  if (s.SlideEffect > 1) fix(s.SlideEffect, uint8_t(1));
  if (s.ScreenIndex < 0 || s.ScreenIndex >= screenTableSize) fix(s.ScreenIndex, 0);
  if (s.SlideTime < 0) fix(s.SlideTime, 400);
  // A floating rectangle turned inside out keeps its corners, the right way round.
  if (s.FloatRight < s.FloatLeft) {
    std::swap(s.FloatLeft, s.FloatRight);
    changed = true;
  }
  if (s.FloatBottom < s.FloatTop) {
    std::swap(s.FloatTop, s.FloatBottom);
    changed = true;
  }
  if (s.HorzDockSize < 0) fix(s.HorzDockSize, 32);
  if (s.VertDockSize < 0) fix(s.VertDockSize, 32);
  return changed;
}

void ConvertDockSizes(TAppBarSettings& s, Dpi from, Dpi to) {
  if (from == to) return;
  for (int32_t* size : {&s.HorzDockSize, &s.VertDockSize, &s.MinHorzDockSize, &s.MinVertDockSize, &s.MaxHorzDockSize,
                        &s.MaxVertDockSize})
    *size = to.From(*size, from);
}

}  // namespace tov
