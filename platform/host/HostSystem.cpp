#include "platform/host/HostSystem.h"

#include <cstdio>

#include "platform/host/HostShell.h"

namespace tov::host {

int HostSystem::GetSystemMetrics(int index) {
  auto it = metrics.find(index);
  if (it != metrics.end()) return it->second;
  switch (index) {
    case SM_CXSCREEN:
      return shell_ ? shell_->Primary().monitor.Width() : 1024;
    case SM_CYSCREEN:
      return shell_ ? shell_->Primary().monitor.Height() : 768;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CYCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_SWAPBUTTON:
      return 0;
    default:
      return 0;
  }
}

Rect HostSystem::WorkArea() { return shell_ ? shell_->PrimaryWorkArea() : Rect{0, 0, 1024, 738}; }

bool HostSystem::SpecialFolderPath(int csidl, std::string* path) {
  auto it = specialFolders.find(csidl);
  if (it == specialFolders.end()) return false;
  *path = it->second;
  return true;
}

// The host speaks the Italian locale: dd/mm/yyyy and hh:mm:ss.
std::string HostSystem::FormatShortDate(const DateTime& t) {
  std::string out;
  for (size_t i = 0; i < shortDateFormat.size(); ++i) {
    char buf[16];
    const char f = i + 1 < shortDateFormat.size() && shortDateFormat[i] == '%' ? shortDateFormat[i + 1] : 0;
    if (f == 'd' || f == 'm' || f == 'Y') {
      std::snprintf(buf, sizeof buf, f == 'Y' ? "%04d" : "%02d", f == 'd' ? t.day : f == 'm' ? t.month : t.year);
      out += buf;
      ++i;
    } else {
      out += shortDateFormat[i];
    }
  }
  return out;
}

std::string HostSystem::FormatTime(const DateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

}  // namespace tov::host
