#include "dialogs/ErrorReport.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <typeinfo>

#include "base/Product.h"
#include "base/Strings.h"
#include "base/Utf8Text.h"
#include "controls/HintBox.h"
#include "files/FileHelpers.h"
#include "files/Log.h"
#include "files/ProgramFolders.h"
#include "formats/ImageFiles.h"
#include "formats/ZipArchive.h"
#include "forms/ExceptMessageForm.h"
#include "platform/EventGuard.h"
#include "platform/Platform.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormRuntime.h"

namespace tov {

namespace {

constexpr const char* kTextFile = "ExcpText.txt";
constexpr const char* kScreenBmp = "ExcpScreen.bmp";
constexpr const char* kScreenPng = "ExcpScreen.png";
constexpr const char* kArchive = "Excp.exc";
constexpr size_t kExtendedTextLimit = 2048;

// At least `digits` upper-case hexadecimal digits: a 64-bit address shows whole.
std::string Hex(uint64_t v, int digits) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

std::string ClassName(const std::exception& e) {
  const char* mangled = typeid(e).name();
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && plain ? plain : mangled;
  std::free(plain);
  return name;
}

std::string ErrorCaption() { return LangText("Messages.TtlErroreApplicazione", "Errore nell'applicazione"); }

// The sender used when the caller gives none: the user's mail program, or
// the file manager on the archive where there is none.
class SystemMailSender : public IMailSender {
 public:
  explicit SystemMailSender(const Component& form) : form_(form) {}
  bool Send(const std::vector<std::string>& lines, const std::vector<std::string>& attachments) override {
    const MailResult r = Diagnostics().SendMail(std::string(kProductName) + " - " + ErrorCaption(), JoinLines(lines),
                                                attachments, WindowId(DialogWindowOf(form_)));
    if (r == MailResult::Sent) return true;
    if (r == MailResult::Cancelled) return false;
    MessageBoxInfo(FormatText(LangText("Messages.NoMailProgram",
                                       "Nessun programma di posta ha risposto. Il rapporto \u00E8 nel file \"%s\": "
                                       "la sua cartella viene aperta, per allegarlo a un messaggio per "
                                       "l'assistenza (%s)."),
                              {attachments.empty() ? std::string() : attachments[0], kSupportMail}),
                   ErrorCaption());
    if (!attachments.empty()) Diagnostics().ShowInFolder(attachments[0]);
    return false;
  }

 private:
  const Component& form_;
};

}  // namespace

std::string WindowsVersionName(const OsVersion& v) {
  const uint32_t build = v.build & 0xFFFF;
  if (v.platform == 1 && v.major == 4) {
    if (v.minor < 10) {
      if (build == 950) return "Windows 95";
      if (build >= 951 && build <= 1080) return "Windows 95 SP1";
      if (build > 1080) return "Windows 95 OSR2";
    } else if (v.minor == 10) {
      if (build == 1998) return "Windows 98";
      if (build >= 1999 && build <= 2182) return "Windows 98 SP1";
      if (build > 2182) return "Windows 98 SE";
    } else if (v.minor == 90) {
      return "Windows ME";
    }
  } else if (v.platform == 2) {
    if (v.major == 3 && v.minor == 51) return "Windows NT 3.51";
    if (v.major == 4 && v.minor == 0) return "Windows NT 4";
    if (v.major == 5 && v.minor == 0) return "Windows 2000";
    if (v.major == 5 && v.minor == 1) return "Windows XP";
    if (v.major == 5 && v.minor == 2) return "Windows Server 2003";
    if (v.major == 6 && v.minor == 0) return "Windows Vista";
    if (v.major == 6 && v.minor == 1) return "Windows 7";
    if (v.major == 6 && v.minor == 2) return "Windows 8";
    if (v.major == 6 && v.minor == 3) return "Windows 8.1";
    if (v.major == 10 && v.minor == 0) return v.build >= 22000 ? "Windows 11" : "Windows 10";
  } else if (v.platform == 3) {
    return "Windows CE";
  }
  return "unknown Windows version";
}

std::string ExtendedExceptionText(const std::exception* e, uint64_t address, const std::string& message) {
  if (!e) return "No message";
  std::string text = "Exception " + ClassName(*e);
  CodeLocation where;
  if (address != 0 && Diagnostics().LocateAddress(address, &where))
    text += " in module " + FileNamePart(where.moduleFile);
  text += " at " + Hex(address, 8) + ".\r\n" + (message.empty() ? std::string(e->what()) : message) + ".";
  // At most so many characters, never a part of one.
  return std::string(Utf8CutToChars(text, kExtendedTextLimit));
}

std::vector<std::string> ProgramReportLines() {
  const OsVersion os = System().Version();
  return {
      "AppUserDir: '" + UserAppDataDir() + "'",
      std::string("App: ") + kProgramVersion + " Arc:" + kProgramVersion + " OS: " + WindowsVersionName(os) + " " +
          os.servicePack,
  };
}

std::vector<std::string> ErrorReportLines(const ErrorInfo& e, const std::string& extendedText, const DateTime& when) {
  std::vector<std::string> lines = {
      "Errore livello " + std::to_string(e.level) + " in " + AppTitle() + "(" + kProductName + ")",
      System().FormatShortDate(when) + " - " + System().FormatTime(when) + ": '" + e.exceptionMessage + "'.",
      "Messaggio visualizzato: '" + e.displayMessage + "'.",
      "Eccezione: '" + e.exceptionMessage + "'.",
      "Indirizzo: '" + Hex(e.address, 8) + "'.",
      "Eccezione estesa: '" + extendedText + "'.",
      "Throw: " + e.thrownClass + ", modulo " + e.throwFile + ", riga " + e.throwLine + ".",
      "Catch: Modulo " + e.catchModule + ", riga " + std::to_string(e.catchLine) + ", funzione " + e.catchFunction +
          ".",
  };
  for (std::string& line : ProgramReportLines())
    lines.push_back(std::move(line));
  CodeLocation where;
  if (e.address != 0 && Diagnostics().LocateAddress(e.address, &where))
    lines.push_back("Map: " + std::string(Utf8CutToChars(FileNamePart(where.moduleFile), 63)) + " " +
                    std::to_string(where.section) + " 0x" + Hex(where.offset, 8));
  return lines;
}

std::string DebugFolder() { return UserAppDataSubDir("Debug"); }

void LogCaughtException(const std::string& message) {
  try {
    TLog log(DebugFolder());
    log.AddLines({"Eccezione intercettata in " + AppTitle() + ": '" + message + "'.", std::string(80, '-')});
  } catch (const std::exception&) {
  }
}
void InstallExceptionDisplay(std::function<std::string()> language) {
  // Written to the day's log too: what the user was shown can be found later.
  SetExceptionDisplay([](const std::string& message) {
    LogCaughtException(message);
    ShowException(message);
  });
  SetErrorReporter(
      [language = std::move(language)](const ErrorInfo& e) { ReportError(e, language ? language() : std::string()); });
}

std::string DebugFile(const char* name) { return DebugFolder() + name; }

void ReportError(const ErrorInfo& e, const std::string& language) {
  if (MessageLevel >= e.level && FullReportLevel < e.level && !e.displayMessage.empty()) ErrorMessage(e.displayMessage);
  if (FullReportLevel < e.level) return;
  const std::string extended = ExtendedExceptionText(e.exception, e.address, e.exceptionMessage);
  std::unique_ptr<TFormExceptMessage> window;
  try {
    window = std::make_unique<TFormExceptMessage>(language, e.mail);
  } catch (const std::exception& ex) {
    ShowException(ex.what());
    return;
  }
  window->ShowErrorReport(ErrorReportLines(e, extended, System().Now()));
  window.reset();
  if (!e.displayMessage.empty())
    AppMessageBox(e.displayMessage, ErrorCaption() + " - (" + e.catchModule + "," + std::to_string(e.catchLine) + ")",
                  kBoxError);
}

// ------------------------------------------------------------ the window

TFormExceptMessage::TFormExceptMessage(std::string language, IMailSender* mail)
    : form_(BuildExceptMessageForm()), mail_(mail), language_(std::move(language)) {
  auto hint = std::make_shared<THintBox>();
  Component& help = Need("Aiuto");
  help.painter = [hint](ICanvas& canvas, const Component& self) {
    hint->SetLines(self.lines);
    hint->SetSize(canvas.Width(), canvas.Height());
    hint->Paint(canvas);
  };
  Component& f = *form_;
  f.SetHandler("BtnChiudiClick", [](Component& c) { c.Form()->properties["ModalResult"] = "2"; });
  f.SetHandler("BtnInviaClick", [this](Component&) { BtnInviaClick(); });
  f.SetHandler("BtnSalvaClick", [this](Component&) { BtnSalvaClick(); });
  f.SetHandler("BtnMostraImmagineClick", [this](Component&) { ShowPicture(); });
  f.SetHandler("EditS_FileImmagineDblClick", [this](Component&) { ShowPicture(); });
  f.SetHandler("PnlImmagineResize", [this](Component&) { PnlImmagineResize(); });
  f.SetHandler("FormClose", [](Component&) {});
}

void TFormExceptMessage::SetAttachment(const std::string& path) {
  attachment_ = path;
  Need("EditS_FileImmagine").caption = path;
}

int TFormExceptMessage::ShowErrorReport(const std::vector<std::string>& lines, WindowId owner) {
  for (const char* name : {kScreenBmp, kScreenPng, kTextFile})
    if (Files().FileExists(DebugFile(name))) Files().DeleteFile(DebugFile(name));
  textFile_ = DebugFile(kTextFile);
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  std::vector<std::string> failures;
  text_ = text;
  textWritten_ = WriteFileSafely(Files(), textFile_, text);
  if (!textWritten_) failures.push_back(textFile_);
  Need("MemoErrore").lines = lines;
  // The log is a convenience: a failure there does not stop the report.
  try {
    TLog log(DebugFolder());
    log.AddLines(lines);
    log.AddLine(std::string(80, '-'));
  } catch (const std::exception&) {
  }
  // The screen as it was: the window is not up yet.
  System().Sleep(500);
  Bitmap screen;
  const std::string bmp = DebugFile(kScreenBmp), png = DebugFile(kScreenPng);
  if (Diagnostics().CaptureScreen(&screen) && WriteFileSafely(Files(), bmp, EncodeBmp24(screen)))
    SetAttachment(BitmapFileToPng(bmp, png) ? png : bmp);
  else
    SetAttachment(std::string());
  if (!failures.empty())
    MessageBoxError(LangText("MsgErr.ReportNotWritten", "Il rapporto dell'errore non \u00E8 stato scritto in:") +
                        "\r\n" + failures[0],
                    ErrorCaption());
  return ShowModal(owner);
}

int TFormExceptMessage::ShowSavedReport(const std::string& textFile, const std::string& attachment, WindowId owner) {
  textFile_ = textFile;
  std::string text;
  textWritten_ = Files().ReadFile(textFile, &text);
  text_ = text;
  Need("MemoErrore").lines = SplitLines(text);
  SetAttachment(Files().FileExists(attachment) ? attachment : std::string());
  return ShowModal(owner);
}

int TFormExceptMessage::ShowModal(WindowId owner) {
  if (!language_.empty()) ApplyLanguage(*form_, language_);
  return ShowModalForm(*form_, owner);
}

bool TFormExceptMessage::BuildReportArchive() {
  TZipArchive zip;
  zip.Clear();
  if (!attachment_.empty() && Files().FileExists(attachment_) && !Need("ChkAllegaImmagine").checked)
    zip.AddFile(attachment_);
  if (textFile_.empty()) {
  } else if (!textWritten_ || !zip.AddFile(textFile_)) {
    zip.AddBytes(textFile_.substr(textFile_.find_last_of("\\/:") + 1), text_, System().Now());
  }
  const std::string archive = DebugFile(kArchive);
  if (zip.WriteTo(archive)) return true;
  MessageBoxError(FormatText(LangText("MsgErr.ArchiveNotWritten",
                                      "L'archivio del rapporto \"%s\" non pu\u00F2 essere "
                                      "scritto."),
                             {archive}),
                  ErrorCaption());
  return false;
}

void TFormExceptMessage::BtnInviaClick() {
  if (!BuildReportArchive()) return;
  const std::vector<std::string> attachments = {DebugFile(kArchive)};
  if (mail_) {
    mail_->Send(Need("MemoErrore").lines, attachments);
    return;
  }
  SystemMailSender(*form_).Send(Need("MemoErrore").lines, attachments);
}

void TFormExceptMessage::BtnSalvaClick() {
  FileDialogRequest request;
  request.filter = LangText("Messages.FiltroRapporto", "Rapporto d'errore (*.exc)|*.exc|Tutti i file (*.*)|*.*");
  request.fileName = kArchive;
  request.defaultExt = "exc";
  std::string chosen;
  if (!Dialogs().SaveFileName(DialogWindowOf(*form_), request, &chosen)) return;
  if (!BuildReportArchive()) return;
  if (!Files().CopyFile(DebugFile(kArchive), chosen, false))
    MessageBoxError(
        FormatText(LangText("MsgErr.ReportNotCopied", "Il rapporto non pu\u00F2 essere copiato in \"%s\"."), {chosen}),
        ErrorCaption());
}

void TFormExceptMessage::ShowPicture() {
  if (!attachment_.empty()) Shell().Open(WindowId(DialogWindowOf(*form_)), attachment_, "", "");
}

void TFormExceptMessage::PnlImmagineResize() {
  Component& row = Need("PnlImmagine");
  Component& field = Need("EditS_FileImmagine");
  Component& button = Need("BtnMostraImmagine");
  field.bounds.right = field.bounds.left + row.bounds.Width() - 33;
  const int w = button.bounds.Width();
  button.bounds.left = field.bounds.right + 3;
  button.bounds.right = button.bounds.left + w;
  field.Changed();
  button.Changed();
}

}  // namespace tov
