// What a window of painted controls tells assistive technology: the window
// as one object with a child per control, each with the role, name,
// description, keyboard shortcut and on-screen rectangle a screen reader
// reads. The Win32 layer answers WM_GETOBJECT from it; roles keep the
// numbers of the system's accessibility interfaces.
#pragma once
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace tov {

enum AccessibleRole : int {
  kRoleToolbar = 0x16,
  kRolePushButton = 0x2B,
  kRoleButtonMenu = 0x39,
};

struct AccessibleItem {
  int role = kRolePushButton;
  std::string name;
  std::string description;
  std::string shortcut;  // as the user reads it: "Ctrl+Alt+N"
  Rect screen;           // on screen
  std::string defaultAction;
};

class IAccessibleSource {
 public:
  virtual ~IAccessibleSource() = default;
  // The window itself: its role and name.
  virtual AccessibleItem Root() = 0;
  virtual std::vector<AccessibleItem> Children() = 0;
  // The child with the keyboard focus, 1-based; 0 for none.
  virtual int FocusedChild() = 0;
  // Does what the child's default action says (a click).
  virtual void DoDefaultAction(int child) = 0;
};

}  // namespace tov
