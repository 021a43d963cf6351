#include "platform/win32/Win32ShellLinks.h"

#include "platform/win32/WinApi.h"

#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// The link path as the wide string of at most MAX_PATH units (the zero
// included) the persist-file interface takes; a longer path is refused
// rather than cut, which would name another file.
bool WidePath(const std::string& path, wchar_t (&wide)[MAX_PATH]) {
  const std::wstring w = WideText(path);
  if (w.empty() || w.size() >= MAX_PATH) return false;
  w.copy(wide, w.size());
  wide[w.size()] = L'\0';
  return true;
}

// A new shell link object for the link file at path, whose wide name it
// fills; the first failing result, or S_OK with *link set.
HRESULT OpenLink(const std::string& path, wchar_t (&wide)[MAX_PATH], ComPtr<IShellLinkW>& link) {
  link.Reset();
  if (!WidePath(path, wide)) return E_INVALIDARG;
  const HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid());
  if (hr != S_OK) return hr;
  return link ? S_OK : E_FAIL;
}

}  // namespace

int32_t Win32ShellLinks::OleInitialize() { return int32_t(::OleInitialize(nullptr)); }

void Win32ShellLinks::OleUninitialize() { ::OleUninitialize(); }

int32_t Win32ShellLinks::SaveLink(const std::string& linkPath, const std::string& target,
                                  const std::string& description) {
  wchar_t wide[MAX_PATH];
  ComPtr<IShellLinkW> link;
  HRESULT hr = OpenLink(linkPath, wide, link);
  if (hr != S_OK) return int32_t(hr);
  ComPtr<IPersistFile> file;
  hr = link->SetPath(WideText(target).c_str());
  // S_FALSE: the path is set but names nothing that exists yet, which a
  // shortcut may well point at (a drive that is not plugged in).
  if (hr == S_FALSE) hr = S_OK;
  if (hr == S_OK) hr = link->SetDescription(WideText(description).c_str());
  if (hr == S_OK) hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
  if (hr == S_OK) hr = file->Save(wide, TRUE);
  return int32_t(hr);
}

int32_t Win32ShellLinks::LoadLink(WindowId owner, const std::string& linkPath, std::string* target,
                                  std::string* description) {
  wchar_t wide[MAX_PATH];
  ComPtr<IShellLinkW> link;
  HRESULT hr = OpenLink(linkPath, wide, link);
  if (hr != S_OK) return int32_t(hr);
  ComPtr<IPersistFile> file;
  wchar_t path[MAX_PATH] = {};
  wchar_t text[MAX_PATH] = {};
  WIN32_FIND_DATAW found{};
  hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
  if (hr == S_OK) hr = file->Load(wide, STGM_READ);
  if (hr == S_OK) hr = link->Resolve(reinterpret_cast<HWND>(owner), 0);
  if (hr == S_OK) hr = link->GetPath(path, MAX_PATH, &found, SLGP_SHORTPATH);
  if (hr == S_OK) hr = link->GetDescription(text, MAX_PATH);
  if (hr == S_OK) {
    *target = Utf8Text(path);
    *description = Utf8Text(text);
  }
  return int32_t(hr);
}

}  // namespace tov::win32
