// System metrics and parameters, input state and a virtual clock for the
// headless host. Screen metrics follow the primary monitor of the shell.
#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/System.h"

namespace tov::host {

class HostShell;

class HostSystem : public ISystem {
 public:
  HostSystem() = default;
  void SetShell(HostShell* shell) { shell_ = shell; }

  int GetSystemMetrics(int index) override;
  bool DragFullWindows() override { return dragFullWindows; }
  Rect WorkArea() override;
  bool KeyDown(int vk) override { return keysDown.count(vk) > 0; }
  bool AsyncKeyDown(int vk) override { return keysDown.count(vk) > 0; }
  Point MessagePos() override { return cursor; }
  Point CursorPos() override { return cursor; }
  // Each reading moves the clock on by tickStep, so busy loops end.
  uint32_t TickCount() override {
    uint32_t t = ticks;
    ticks += tickStep;
    return t;
  }
  void Sleep(uint32_t ms) override { ticks += ms; }
  DateTime Now() override { return now; }
  bool SpecialFolderPath(int csidl, std::string* path) override;
  OsVersion Version() override { return version; }
  std::string FormatShortDate(const DateTime& t) override;
  std::string FormatTime(const DateTime& t) override;
  char DecimalSeparator() override { return decimalSeparator; }
  std::string UserInterfaceLanguage() override { return uiLanguage; }
  bool HighContrast() override { return highContrast; }

  std::map<int, int> metrics;  // overrides of the defaults
  bool dragFullWindows = true;
  bool highContrast = false;
  std::set<int> keysDown;
  Point cursor;
  uint32_t ticks = 1000;
  uint32_t tickStep = 10;
  DateTime now{2026, 12, 9, 10, 30, 0, 0};
  std::map<int, std::string> specialFolders{
      {16, "C:\\Users\\utente\\Desktop"}, {26, "C:\\Users\\utente\\AppData\\Roaming"}, {35, "C:\\ProgramData"}};
  OsVersion version{2, 10, 0, 19045, ""};
  char decimalSeparator = ',';
  std::string uiLanguage = "it-IT";
  // The locale's short date: %d, %m and %Y for day, month and year.
  std::string shortDateFormat = "%d/%m/%Y";

 private:
  HostShell* shell_ = nullptr;
};

}  // namespace tov::host
