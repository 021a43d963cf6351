#include "text/ErrorReports.h"

#include <utility>

#include "text/MessageBoxes.h"

namespace tov {

namespace {

ErrorReporter& Reporter() {
  static ErrorReporter reporter;
  return reporter;
}

}  // namespace

ErrorReporter SetErrorReporter(ErrorReporter reporter) { return std::exchange(Reporter(), std::move(reporter)); }

void FileErrorReport(const ErrorInfo& error) {
  if (Reporter()) {
    Reporter()(error);
    return;
  }
  if (error.level <= MessageLevel && !error.displayMessage.empty()) ErrorMessage(error.displayMessage);
}

}  // namespace tov
