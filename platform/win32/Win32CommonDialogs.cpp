// The system's common dialogs: colour, font, and the files to open or save.
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Late.h"
#include "platform/win32/WinApi.h"

#include <commdlg.h>
#undef ChooseColor
#undef ChooseFont

#include <string>

namespace tov::win32 {

namespace {

// The custom colours the user defined, kept while the program runs.
COLORREF g_customColors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                               0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

// The common dialogs' library is loaded when a dialog is first asked for,
// not with the program: it brings the printing system with it (under Wine
// winspool and the CUPS client, some megabytes), which only these dialogs need.
template <class Fn>
Fn CommonDialogFunction(const char* name) {
  return LateFunction<Fn>("comdlg32.dll", name);
}

COLORREF ColorRef(Color c) { return IsSystemColor(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF); }

// The filter as the dialogs take it: each description and its patterns
// ended by a NUL, the whole by a second one.
std::string NulFilter(const std::string& filter) {
  std::string out;
  for (const FilterPair& pair : SplitFileFilter(filter)) {
    out += pair.description;
    out += '\0';
    out += pair.patterns;
    out += '\0';
  }
  if (!out.empty()) out += '\0';
  return out;
}

bool FileDialog(uintptr_t owner, const FileDialogRequest& request, bool save, std::string* chosen) {
  char file[MAX_PATH] = {};
  request.fileName.copy(file, sizeof file - 1);
  const std::string filter = NulFilter(request.filter);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(owner);
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
  ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR |
              (save ? DWORD(OFN_OVERWRITEPROMPT) : DWORD(OFN_FILEMUSTEXIST));
  const auto run = CommonDialogFunction<BOOL(WINAPI*)(LPOPENFILENAMEA)>(save ? "GetSaveFileNameA" : "GetOpenFileNameA");
  if (!run || !run(&ofn)) return false;
  *chosen = file;
  return true;
}

}  // namespace

bool Win32Dialogs::ChooseColor(uintptr_t owner, Color initial, Color* chosen) {
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = reinterpret_cast<HWND>(owner);
  cc.rgbResult = initial == kNoColor ? 0 : ColorRef(initial);
  cc.lpCustColors = g_customColors;
  cc.Flags = CC_FULLOPEN | CC_RGBINIT;
  const auto run = CommonDialogFunction<BOOL(WINAPI*)(LPCHOOSECOLORA)>("ChooseColorA");
  if (!run || !run(&cc)) return false;
  *chosen = Color(cc.rgbResult & 0xFFFFFF);
  return true;
}

bool Win32Dialogs::ChooseFont(uintptr_t owner, FontSpec* font) {
  const int dpi = SystemDpi();
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(font->size, dpi, 72);
  lf.lfWeight = (font->style & kFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font->style & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (font->style & kFontUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (font->style & kFontStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  font->name.copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = reinterpret_cast<HWND>(owner);
  cf.lpLogFont = &lf;
  cf.rgbColors = ColorRef(font->color);
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  const auto run = CommonDialogFunction<BOOL(WINAPI*)(LPCHOOSEFONTA)>("ChooseFontA");
  if (!run || !run(&cf)) return false;
  FontSpec out;
  out.name = lf.lfFaceName;
  out.size = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, dpi);
  out.style = (lf.lfWeight >= FW_BOLD ? kFontBold : 0u) | (lf.lfItalic ? kFontItalic : 0u) |
              (lf.lfUnderline ? kFontUnderline : 0u) | (lf.lfStrikeOut ? kFontStrikeOut : 0u);
  out.color = Color(cf.rgbColors & 0xFFFFFF);
  *font = out;
  return true;
}

bool Win32Dialogs::OpenFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) {
  return FileDialog(owner, request, false, chosen);
}

bool Win32Dialogs::SaveFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) {
  return FileDialog(owner, request, true, chosen);
}

}  // namespace tov::win32
