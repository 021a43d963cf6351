// Handles the user-interface thread waits on besides its messages. When one
// is signalled its function runs on that thread, between two messages, in
// every message loop of the program (the bar's, a dialog's, and whatever
// pumps with ServeSignals): work the system finishes on its own, such as a
// folder's changes read with overlapped I/O, is taken without a thread of
// ours (under Wine each thread costs 1 MB of memory). A loop of the system's
// (a menu being tracked, a message box) serves them once it returns: a
// signal stays set until then, so nothing is lost, only told later.
#pragma once
#include "platform/win32/WinApi.h"

#include <functional>

namespace tov::win32 {

// Up to kMaxSignals handles (one wait takes them all, with the messages).
constexpr size_t kMaxSignals = MAXIMUM_WAIT_OBJECTS - 1;

// Runs `run` each time `handle` is signalled; a manual-reset event must be
// reset by it. False when kMaxSignals are waited on already.
bool AddSignal(HANDLE handle, std::function<void()> run);
// Stops waiting on the handle; its function does not run again, even when
// called from within a function.
void RemoveSignal(HANDLE handle);
// Runs the functions of the handles signalled now, without waiting.
void ServeSignals();
// GetMessageW that also serves the signals while it waits: 1 with a message,
// 0 with WM_QUIT, -1 when the system failed.
BOOL NextMessage(MSG* msg);

}  // namespace tov::win32
