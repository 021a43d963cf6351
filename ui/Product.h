// Constants of the product, shared by every unit.
#pragma once

namespace tov {

inline constexpr const char* kTitleSeparator = " - ";
inline constexpr const char* kProductName = "Tovira";
inline constexpr const char* kProgramVersion = "1.2.1";
inline constexpr const char* kArchiveVersion = "1.2.1";  // printed after "Arc:" in reports
inline constexpr const char* kSeparatorCaption = "*Separator*";

}  // namespace tov
