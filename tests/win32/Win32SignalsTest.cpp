// The handles the message loops wait on besides messages: a signal's function
// runs within the wait for the next message, a function may stop its own
// signal, and a message posted meanwhile is not held up by a signal left set.
#include <gtest/gtest.h>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Signals.h"

namespace tov::win32 {
namespace {

constexpr UINT kFromSignal = WM_APP + 31;

TEST(Win32Signals, AFunctionRunsInTheWaitAndMayEndItsOwnSignal) {
  ScopedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  int runs = 0;
  ASSERT_TRUE(AddSignal(event.Get(), [&] {
    ++runs;
    ResetEvent(event.Get());
    PostThreadMessageW(GetCurrentThreadId(), kFromSignal, WPARAM(runs), 0);
  }));
  // Nothing signalled: serving runs nothing.
  ServeSignals();
  EXPECT_EQ(runs, 0);
  // Signalled while the loop waits: the function runs and its message comes.
  SetEvent(event.Get());
  MSG msg{};
  ASSERT_EQ(NextMessage(&msg), 1);
  EXPECT_EQ(msg.message, kFromSignal);
  EXPECT_EQ(msg.wParam, 1u);
  // A function that removes its own signal runs once, though left set.
  RemoveSignal(event.Get());
  int once = 0;
  ASSERT_TRUE(AddSignal(event.Get(), [&] {
    ++once;
    RemoveSignal(event.Get());
  }));
  SetEvent(event.Get());
  ServeSignals();
  ServeSignals();
  EXPECT_EQ(once, 1);
  // A signal never reset does not keep messages from the loop.
  ASSERT_TRUE(AddSignal(event.Get(), [&] { ++runs; }));
  PostThreadMessageW(GetCurrentThreadId(), kFromSignal, 7, 0);
  ASSERT_EQ(NextMessage(&msg), 1);
  EXPECT_EQ(msg.wParam, 7u);
  PostQuitMessage(3);
  EXPECT_EQ(NextMessage(&msg), 0);
  EXPECT_EQ(msg.wParam, 3u);
  RemoveSignal(event.Get());
}

}  // namespace
}  // namespace tov::win32
