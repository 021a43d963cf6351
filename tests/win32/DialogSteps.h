// Steps run against a real dialog while its modal loop runs: one at each
// tick of a thread timer once the dialog (found by its caption) is shown;
// when none is left, the flag that ends the loop is set.
#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/win32/Win32NativeForm.h"
#include "platform/win32/WinApi.h"

namespace tov::testing {

using DialogStep = std::function<void(HWND)>;

namespace dialog_steps {
inline const char* caption = nullptr;
inline const std::vector<DialogStep>* steps = nullptr;
inline size_t next = 0;
inline bool* ended = nullptr;

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA(win32::kDialogClass, caption);
  if (!steps || !dialog || !IsWindowVisible(dialog)) return;
  if (next < steps->size())
    (*steps)[next++](dialog);
  else
    *ended = true;
}
}  // namespace dialog_steps

// Runs runModal (the dialog's modal loop, which ends once *ended is set)
// with the steps; gives the number of steps that ran.
inline size_t RunDialogSteps(const char* caption, const std::vector<DialogStep>& steps, bool* ended,
                             const std::function<void()>& runModal) {
  dialog_steps::caption = caption;
  dialog_steps::steps = &steps;
  dialog_steps::next = 0;
  dialog_steps::ended = ended;
  const UINT_PTR timer = SetTimer(nullptr, 0, 80, dialog_steps::Tick);
  runModal();
  KillTimer(nullptr, timer);
  dialog_steps::steps = nullptr;
  return dialog_steps::next;
}

// What the system sends a dialog moved to a monitor of another scale, with
// the rectangle it suggests.
inline void ChangeDpi(HWND dialog, int from, int to) {
  RECT w{};
  GetWindowRect(dialog, &w);
  RECT suggested{w.left, w.top, w.left + MulDiv(w.right - w.left, to, from),
                 w.top + MulDiv(w.bottom - w.top, to, from)};
  SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace tov::testing
