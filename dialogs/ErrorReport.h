// The error report. Code that catches an unexpected error hands it to
// ReportError with where it was thrown and caught, and a level: above
// MessageLevel nothing is shown; at MessageLevel a plain error box; at or
// below FullReportLevel the report window, which shows the report text
// (also saved in the Debug folder and appended to the day's log), keeps a
// screenshot, and packs both into an archive to save or to mail.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "text/ErrorReports.h"

namespace tov {

// The report window shows its texts in the language given ("": its own).
void ReportError(const ErrorInfo& error, const std::string& language);

// At start-up: an exception that escapes an event is written to the day's
// log and shown (ShowException); an error filed below the dialogs
// (FileErrorReport) reaches ReportError, in the language that language()
// answers at that moment (no function: the window's own texts).
void InstallExceptionDisplay(std::function<std::string()> language = nullptr);

// The system's name: "Windows 7", "Windows 10" ... or "unknown Windows version".
std::string WindowsVersionName(const OsVersion& v);

// "Exception <class> in module <file> at <address>." and the message, as the
// run-time describes an exception; "No message" without one. At most 2048
// characters.
std::string ExtendedExceptionText(const std::exception* e, uint64_t address, const std::string& message);

// The report text, one entry per line, with the date and time given.
std::vector<std::string> ErrorReportLines(const ErrorInfo& error, const std::string& extendedText,
                                          const DateTime& when);

// The lines that describe the program and the system: "AppUserDir: '...'"
// and "App: <version> Arc:<version> OS: <system> <service pack>".
std::vector<std::string> ProgramReportLines();

// An exception the message loop's guard caught and showed, written to the
// day's log (any failure there is ignored).
void LogCaughtException(const std::string& message);

// The files of the report, in UserAppDataSubDir("Debug").
std::string DebugFolder();
std::string DebugFile(const char* name);  // DebugFolder() + name

class TFormExceptMessage {
 public:
  // Shown in that language ("": the form's own texts).
  explicit TFormExceptMessage(std::string language, IMailSender* mail = nullptr);
  Component& Form() { return *form_; }

  // Deletes the last report's files, writes the text (file, window, log),
  // takes the screenshot and shows the window modally.
  int ShowErrorReport(const std::vector<std::string>& lines, WindowId owner = 0);
  // Shows a report written before (the crash handler's): its text, and a
  // file to attach in place of the screenshot.
  int ShowSavedReport(const std::string& textFile, const std::string& attachment, WindowId owner = 0);

  // The archive "Excp.exc": the attachment (unless "Non allegare immagine"
  // is checked) and the report text, from memory when its file could not be
  // written. False, the user told, when it cannot be written.
  bool BuildReportArchive();
  const std::string& Attachment() const { return attachment_; }

  void BtnInviaClick();
  void BtnSalvaClick();
  void ShowPicture();
  void PnlImmagineResize();

 private:
  Component& Need(const char* name) { return form_->Need(name); }
  void SetAttachment(const std::string& path);
  int ShowModal(WindowId owner);

  std::unique_ptr<Component> form_;
  IMailSender* mail_;
  std::string language_;
  std::string textFile_;
  // The report's text, and whether the file holds it: a file this report
  // did not write (an older report's, left where it could not go) is never
  // archived in its place.
  std::string text_;
  bool textWritten_ = false;
  std::string attachment_;
};

}  // namespace tov
