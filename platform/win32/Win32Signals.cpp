#include "platform/win32/Win32Signals.h"

#include <utility>
#include <vector>

namespace tov::win32 {

namespace {

struct Signal {
  HANDLE handle;
  std::function<void()> run;
  bool removed = false;
};

// Of the user-interface thread only, as are the loops that serve them.
std::vector<Signal>& Signals() {
  static std::vector<Signal> signals;
  return signals;
}

// Runs the function of the signal at `index` (the list may change under it).
void Run(size_t index) {
  std::function<void()> run = Signals()[index].run;  // a copy: RemoveSignal may drop the original
  run();
}

// Waits up to `ms` for a signal or (with messages) for input, and runs the
// function of the signal that came: kServed, kInput, or kNone (the time ran
// out, or the wait failed).
enum Woken { kNone, kServed, kInput };
Woken WaitOnce(DWORD ms, bool messages) {
  std::vector<Signal>& all = Signals();
  std::vector<HANDLE> handles;
  handles.reserve(all.size());
  for (const Signal& s : all)
    handles.push_back(s.handle);
  const DWORD n = DWORD(handles.size());
  const DWORD woke = messages ? MsgWaitForMultipleObjectsEx(n, handles.data(), ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                              : (n ? WaitForMultipleObjects(n, handles.data(), FALSE, ms) : WAIT_TIMEOUT);
  if (woke < WAIT_OBJECT_0 + n) {
    // The lowest signalled handle woke the wait; the others are served by
    // the next round, so none of them waits behind a busy one for long.
    const HANDLE h = handles[woke - WAIT_OBJECT_0];
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i].handle == h && !all[i].removed) {
        Run(i);
        break;
      }
    return kServed;
  }
  return messages && woke == WAIT_OBJECT_0 + n ? kInput : kNone;
}

void Compact() {
  std::vector<Signal>& all = Signals();
  for (size_t i = all.size(); i-- > 0;)
    if (all[i].removed) all.erase(all.begin() + std::ptrdiff_t(i));
}

}  // namespace

bool AddSignal(HANDLE handle, std::function<void()> run) {
  Compact();
  if (Signals().size() >= kMaxSignals) return false;
  Signals().push_back(Signal{handle, std::move(run)});
  return true;
}

void RemoveSignal(HANDLE handle) {
  for (Signal& s : Signals())
    if (s.handle == handle) {
      s.removed = true;
      s.run = [] {};
    }
}

void ServeSignals() {
  Compact();
  // Each signalled handle once: a function that leaves its handle signalled
  // does not hold the loop.
  for (size_t round = 0, n = Signals().size(); round < n; ++round) {
    WaitOnce(0, false);
    Compact();
  }
}

BOOL NextMessage(MSG* msg) {
  for (;;) {
    ServeSignals();
    if (PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE)) return msg->message == WM_QUIT ? 0 : 1;
    if (Signals().empty()) return GetMessageW(msg, nullptr, 0, 0);
    // A wait the system refused (a handle closed too early) falls back on
    // messages alone rather than turning round and round.
    if (WaitOnce(INFINITE, true) == kNone) return GetMessageW(msg, nullptr, 0, 0);
  }
}

}  // namespace tov::win32
