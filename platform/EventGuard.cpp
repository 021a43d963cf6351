#include "platform/EventGuard.h"

#include <cstdio>

namespace tov {

namespace {

ExceptionDisplay g_display = nullptr;

// The text of the exception being handled; one that is no std::exception
// has none of its own.
std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

}  // namespace

ExceptionDisplay SetExceptionDisplay(ExceptionDisplay display) {
  ExceptionDisplay old = g_display;
  g_display = display;
  return old;
}

void DisplayCurrentException() noexcept {
  try {
    const std::string text = CurrentExceptionText();
    if (g_display)
      g_display(text);
    else
      std::fprintf(stderr, "tovira: %s\n", text.c_str());
  } catch (...) {
    // Showing the error failed as well; the event still ends here.
  }
}

}  // namespace tov
