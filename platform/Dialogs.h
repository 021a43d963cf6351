// Message boxes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

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

// What an open or save dialog offers. The filter is the pairs of a
// description and its patterns, separated by '|' ("Immagini (*.bmp)|*.bmp|
// Tutti i file|*.*"); the first pair is chosen at first.
struct FileDialogRequest {
  std::string title;       // empty: the system's own
  std::string filter;      // empty: every file
  std::string initialDir;  // empty: the system's choice
  std::string fileName;    // the name proposed (a path, or a name within initialDir)
  std::string defaultExt;  // without the dot; added to a name typed without one
};

// The pairs of a '|'-separated filter; an odd last description gets "*.*".
// A description without patterns is dropped.
struct FilterPair {
  std::string description;
  std::string patterns;
  friend bool operator==(const FilterPair&, const FilterPair&) = default;
};
std::vector<FilterPair> SplitFileFilter(const std::string& filter);

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t style) = 0;
  // The shell's folder browser, file-system folders only, owned by owner;
  // initial is preselected when not empty. False when the user cancelled (or
  // chose something that is not a folder of the file system).
  virtual bool BrowseForFolder(uintptr_t owner, const std::string& initial, std::string* chosen) = 0;
  // The colour dialog, full, opening on initial; the custom colours the user
  // defines are kept for the next opening while the program runs. False when
  // cancelled.
  virtual bool ChooseColor(uintptr_t owner, Color initial, Color* chosen) = 0;
  // The font dialog with effects (colour, underline, strike-out), opening on
  // *font; screen fonts. False when cancelled (font unchanged).
  virtual bool ChooseFont(uintptr_t owner, FontSpec* font) = 0;
  // The open dialog (the file must exist) and the save dialog (asks before
  // replacing a file). False when cancelled.
  virtual bool OpenFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) = 0;
  virtual bool SaveFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) = 0;
};

}  // namespace tov
