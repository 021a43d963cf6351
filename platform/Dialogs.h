// Message boxes.
#pragma once
#include <cstdint>
#include <string>

namespace tov {

// MessageBox style bits and answers, with the values Windows gives them.
enum : uint32_t {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t style) = 0;
  // The shell's folder browser, file-system folders only, owned by owner;
  // initial is preselected when not empty. False when the user cancelled (or
  // chose something that is not a folder of the file system).
  virtual bool BrowseForFolder(uintptr_t owner, const std::string& initial, std::string* chosen) = 0;
};

}  // namespace tov
