// System metrics and parameters, the keyboard and mouse state, the clock and
// the shell's special folders.
#pragma once
#include <cstdint>
#include <string>

#include "base/Dpi.h"
#include "platform/Files.h"
#include "platform/Geometry.h"

namespace tov {

// GetSystemMetrics indexes, with the values Windows gives them.
enum SystemMetric : int {
  SM_CXSCREEN = 0,
  SM_CYSCREEN = 1,
  SM_CXVSCROLL = 2,
  SM_CYHSCROLL = 3,
  SM_CYCAPTION = 4,
  SM_CXBORDER = 5,
  SM_CYBORDER = 6,
  SM_CXDLGFRAME = 7,
  SM_CYDLGFRAME = 8,
  SM_CXICON = 11,
  SM_CYICON = 12,
  SM_SWAPBUTTON = 23,
  SM_CXFRAME = 32,
  SM_CYFRAME = 33,
  SM_CXDOUBLECLK = 36,
  SM_CYDOUBLECLK = 37,
  SM_CXSMICON = 49,
  SM_CYSMICON = 50,
};

// Virtual key codes used by the logic.
enum VirtualKey : int { VK_LBUTTON = 1, VK_RBUTTON = 2, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12 };

// Shell special-folder ids.
enum SpecialFolder : int { CSIDL_DESKTOPDIRECTORY = 16, CSIDL_APPDATA = 26, CSIDL_COMMON_APPDATA = 35 };

// The system's true version (not the one a program without a manifest is
// told): platform 1 for Windows 95/98/ME, 2 for NT and its successors, 3 for CE.
struct OsVersion {
  uint32_t platform = 2;
  uint32_t major = 0, minor = 0, build = 0;
  std::string servicePack;
  bool Nt() const { return platform == 2; }
};

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual int GetSystemMetrics(int index) = 0;
  virtual bool DragFullWindows() = 0;     // SPI_GETDRAGFULLWINDOWS
  virtual Rect WorkArea() = 0;            // SPI_GETWORKAREA: the primary work area
  virtual bool KeyDown(int vk) = 0;       // GetKeyState: the key is held
  virtual bool AsyncKeyDown(int vk) = 0;  // GetAsyncKeyState: the key is down now
  virtual Point MessagePos() = 0;         // cursor of the current message
  virtual Point CursorPos() = 0;
  virtual uint32_t TickCount() = 0;  // milliseconds, wrapping
  virtual void Sleep(uint32_t ms) = 0;
  virtual DateTime Now() = 0;  // local time
  // Path of a special folder without a trailing backslash; false when unknown.
  virtual bool SpecialFolderPath(int csidl, std::string* path) = 0;
  virtual OsVersion Version() = 0;
  // Locale date and time formats used for displayed dates.
  virtual std::string FormatShortDate(const DateTime& t) = 0;
  virtual std::string FormatTime(const DateTime& t) = 0;
  virtual char DecimalSeparator() = 0;
  // The user's display language as a BCP 47 tag ("it-IT", "en-US", "ja-JP").
  virtual std::string UserInterfaceLanguage() = 0;
  // A metric as the system gives it to a window at that DPI (frames and
  // icons grow with the monitor's scale). GetSystemMetrics answers at 96 DPI
  // here; a layer whose metrics follow another scale says so.
  virtual int GetSystemMetricsForDpi(int index, int dpi) { return Dpi(dpi).Scale(GetSystemMetrics(index)); }
  // SPI_GETHIGHCONTRAST: the user chose the system's high-contrast colours.
  virtual bool HighContrast() { return false; }
};

}  // namespace tov
