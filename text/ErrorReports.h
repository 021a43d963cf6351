// What is known of an unexpected error, and the one way code below the
// dialogs hands it on. The start-up installs the reporter (the report window
// of dialogs/ErrorReport); a layer that catches an error files it here
// without knowing who shows it. Levels: above MessageLevel nothing is shown;
// at MessageLevel a plain error box; at or below FullReportLevel the report.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace tov {

constexpr int FullReportLevel = 0;
constexpr int MessageLevel = 1;

// Sends the report: its lines and the files to attach. True when it went.
class IMailSender {
 public:
  virtual ~IMailSender() = default;
  virtual bool Send(const std::vector<std::string>& lines, const std::vector<std::string>& attachments) = 0;
};

// What is known of an error when it is reported.
struct ErrorInfo {
  std::string displayMessage;    // the text meant for the user; may be empty
  std::string exceptionMessage;  // what the exception says
  std::string catchFunction;
  int catchLine = 0;
  std::string catchModule;
  const std::exception* exception = nullptr;  // may be none
  uint64_t address = 0;                       // where it was raised
  std::string thrownClass;
  std::string throwFile;
  std::string throwLine;
  int level = FullReportLevel;
  IMailSender* mail = nullptr;  // none: the system's mail program
};

using ErrorReporter = std::function<void(const ErrorInfo&)>;

// Installs the reporter (none: an empty function) and returns the one before.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Hands the error to the installed reporter. With none installed, a text
// meant for the user at a level that shows one still reaches them in an
// error box: nothing the user must read is dropped.
void FileErrorReport(const ErrorInfo& error);

}  // namespace tov
