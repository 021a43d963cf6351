// Constants of the product, shared by every unit.
#pragma once

namespace tov {

inline constexpr const char* kTitleSeparator = " - ";
inline constexpr const char* kProductName = "Tovira";
// The build gives the version from project() in CMakeLists.txt.
inline constexpr const char* kProgramVersion = TOVIRA_VERSION;
inline constexpr const char* kArchiveVersion = TOVIRA_VERSION;  // printed after "Arc:" in reports
// Where the maker is found: the about box shows them.
inline constexpr const char* kSupportMail = "tovira@brenvoll.example";
inline constexpr const char* kProductPage = "https://brenvoll.example/tovira";
inline constexpr const char* kMakerWebHost = "brenvoll.example";
inline constexpr const char* kSeparatorCaption = "*Separator*";

}  // namespace tov
