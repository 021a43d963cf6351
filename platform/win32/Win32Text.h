// Text between the program and the system's wide (W) calls: the program's
// UTF-8 and the system's UTF-16, converted here and nowhere else. The narrow
// (A) calls need no conversion: the manifest makes UTF-8 the process's code
// page. The wide calls are for those that do not follow that code page (the
// shell's COM objects, drop handles, the clipboard, and GDI's text, which
// reads narrow text in the code page of the font's character set), and
// typed text travels as wide messages to Unicode controls (a narrow message
// carries one byte of a character).
#pragma once
#include <string>

namespace tov::win32 {

std::wstring WideText(const std::string& utf8);
// n: the number of units, or -1 for a zero-terminated text.
std::string Utf8Text(const wchar_t* wide, int n = -1);

}  // namespace tov::win32
