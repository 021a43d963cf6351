// The user's mail program through Simple MAPI: a new message, shown for the
// user to check and send.
#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Late.h"
#include "platform/win32/WinApi.h"

#include <mapi.h>

namespace tov::win32 {

namespace {

std::string FileNameOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

MailResult FromMapi(ULONG result) {
  switch (result) {
    case SUCCESS_SUCCESS:
      return MailResult::Sent;
    case MAPI_USER_ABORT:
      return MailResult::Cancelled;
    case MAPI_E_LOGIN_FAILURE:
    case MAPI_E_NOT_SUPPORTED:
      return MailResult::NoMailProgram;
    default:
      return MailResult::Failed;
  }
}

}  // namespace

MailResult Win32Diagnostics::SendMail(const std::string& subject, const std::string& body,
                                      const std::vector<std::string>& attachments, WindowId owner) {
  HMODULE mapi = LoadLibraryA("MAPI32.DLL");
  if (!mapi) return MailResult::NoMailProgram;
  auto send = FunctionOf<LPMAPISENDMAIL>(mapi, "MAPISendMail");
  if (!send) {
    FreeLibrary(mapi);
    return MailResult::NoMailProgram;
  }
  // MAPI takes non-const texts; these copies outlive the call.
  std::string subjectText = subject, bodyText = body;
  std::vector<std::string> paths = attachments, names;
  for (const std::string& path : attachments)
    names.push_back(FileNameOf(path));
  std::vector<MapiFileDesc> files(attachments.size());
  for (size_t i = 0; i < files.size(); ++i) {
    files[i].nPosition = ULONG(-1);  // not placed in the text
    files[i].lpszPathName = paths[i].data();
    files[i].lpszFileName = names[i].data();
  }
  MapiMessage message{};
  message.lpszSubject = subjectText.data();
  message.lpszNoteText = bodyText.data();
  message.nFileCount = ULONG(files.size());
  message.lpFiles = files.empty() ? nullptr : files.data();
  const ULONG result = send(0, ULONG_PTR(owner), &message, MAPI_DIALOG | MAPI_LOGON_UI, 0);
  FreeLibrary(mapi);
  return FromMapi(result);
}

}  // namespace tov::win32
