#include "tools/ToolWindows.h"

#ifdef TOVIRA_WINDOWS
namespace tov::tool {

HWND FindVisibleWindow(const std::string& title) {
  struct Search {
    const std::string& title;
    HWND found;
  } search{title, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (!IsWindowVisible(hwnd) || s->title != text) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace tov::tool
#endif
