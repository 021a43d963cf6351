#include "platform/win32/Win32Text.h"

#include <cwchar>

#include "base/Utf8Text.h"

namespace tov::win32 {

// wchar_t is UTF-16 on Windows: the base layer's conversions apply as they
// are (a malformed byte or a lone surrogate becomes U+FFFD, as the system's
// own conversion does).
std::wstring WideText(const std::string& utf8) {
  const std::u16string u = Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string Utf8Text(const wchar_t* wide, int n) {
  if (!wide) return std::string();
  const size_t length = n < 0 ? std::wcslen(wide) : size_t(n);
  return Utf16ToUtf8(std::u16string(wide, wide + length));
}

}  // namespace tov::win32
