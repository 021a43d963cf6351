// Every entry from the window system into the program's code (window
// procedures, paint, timers, menu commands, posted messages, modal loops and
// the shell's callbacks) runs inside GuardEvent: an exception never unwinds
// through the system's frames. It is handed to the exception display the
// program installs, the event ends with its fallback answer, and the message
// loop goes on.
#pragma once
#include <exception>
#include <string>

namespace tov {

// Shows an exception that no handler caught; it must not throw.
using ExceptionDisplay = void (*)(const std::string& message);

// Installs the display and answers the one installed before. Without one,
// the exception's text goes to standard error.
ExceptionDisplay SetExceptionDisplay(ExceptionDisplay display);

// Hands the exception being handled to the display (inside a catch block).
void DisplayCurrentException() noexcept;

template <typename Result, typename Fn>
Result GuardEvent(Result fallback, Fn&& fn) noexcept {
  try {
    return fn();
  } catch (...) {
    DisplayCurrentException();
  }
  return fallback;
}

template <typename Fn>
void GuardEvent(Fn&& fn) noexcept {
  try {
    fn();
  } catch (...) {
    DisplayCurrentException();
  }
}

}  // namespace tov
