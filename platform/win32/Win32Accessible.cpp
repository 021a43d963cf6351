#include "platform/win32/Win32Accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Late.h"
#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// The accessibility libraries (oleacc, oleaut32) are loaded when a reader
// first asks, not when the program starts: a bar nobody reads never maps them.
// Each function is looked up once and its library kept for the process.

BSTR AllocBstr(const wchar_t* text, UINT length) {
  using Fn = BSTR(WINAPI*)(const OLECHAR*, UINT);
  static const Fn alloc = LateFunction<Fn>("oleaut32.dll", "SysAllocStringLen");
  return alloc ? alloc(text, length) : nullptr;
}

HRESULT ObjectFromWindow(HWND hwnd, DWORD id, REFIID riid, void** out) {
  using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const Fn fromWindow = LateFunction<Fn>("oleacc.dll", "AccessibleObjectFromWindow");
  if (!fromWindow) {
    *out = nullptr;
    return E_NOTIMPL;
  }
  return fromWindow(hwnd, id, riid, out);
}

LRESULT ResultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) {
  using Fn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  static const Fn fromObject = LateFunction<Fn>("oleacc.dll", "LresultFromObject");
  return fromObject ? fromObject(riid, wParam, object) : 0;
}

// As VariantInit does: the variant holds nothing.
void InitVariant(VARIANT* v) { v->vt = VT_EMPTY; }

BSTR ToBstr(const std::string& text) {
  const std::wstring w = WideText(text);
  return AllocBstr(w.data(), UINT(w.size()));
}

class ClientAccessible final : public IAccessible {
 public:
  ClientAccessible(HWND hwnd, std::shared_ptr<AccessibleLink> link) : hwnd_(hwnd), link_(std::move(link)) {}

  // IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  // IDispatch: readers use the IAccessible methods themselves.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    return ObjectFromWindow(hwnd_, DWORD(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!Alive()) return RPC_E_DISCONNECTED;
    *count = long(Source().Children().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int i = 0;
    if (!ChildIndex(child, &i)) return E_INVALIDARG;
    return S_FALSE;  // the children are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Text(child, out, [](const AccessibleItem& it) { return it.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Text(child, out, [](const AccessibleItem& it) { return it.description; });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    InitVariant(role);
    AccessibleItem item;
    const HRESULT hr = Item(child, &item);
    if (hr != S_OK) return hr;
    role->vt = VT_I4;
    role->lVal = item.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    InitVariant(state);
    int i = 0;
    if (!ChildIndex(child, &i)) return E_INVALIDARG;
    if (!Alive()) return RPC_E_DISCONNECTED;
    long s = 0;
    if (!IsWindowVisible(hwnd_)) s |= STATE_SYSTEM_INVISIBLE;
    if (i > 0) {
      s |= STATE_SYSTEM_FOCUSABLE;
      if (Source().FocusedChild() == i && GetFocus() == hwnd_) s |= STATE_SYSTEM_FOCUSED;
    } else if (GetFocus() == hwnd_) {
      s |= STATE_SYSTEM_FOCUSED;
    }
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Text(child, out, [](const AccessibleItem& it) { return it.shortcut; });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    InitVariant(focus);
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (GetFocus() != hwnd_) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = Source().FocusedChild();  // 0: the window itself
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    InitVariant(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Text(child, out, [](const AccessibleItem& it) { return it.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    AccessibleItem item;
    const HRESULT hr = Item(child, &item);
    if (hr != S_OK) return hr;
    *left = item.screen.left;
    *top = item.screen.top;
    *width = item.screen.Width();
    *height = item.screen.Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    InitVariant(end);
    int i = 0;
    if (!ChildIndex(start, &i)) return E_INVALIDARG;
    if (!Alive()) return RPC_E_DISCONNECTED;
    const int n = int(Source().Children().size());
    int to = 0;
    switch (dir) {
      case NAVDIR_FIRSTCHILD:
        to = i == 0 && n > 0 ? 1 : 0;
        break;
      case NAVDIR_LASTCHILD:
        to = i == 0 && n > 0 ? n : 0;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_RIGHT:
      case NAVDIR_DOWN:
        to = i > 0 && i < n ? i + 1 : 0;
        break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_LEFT:
      case NAVDIR_UP:
        to = i > 1 ? i - 1 : 0;
        break;
      default:
        return E_INVALIDARG;
    }
    if (to == 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    InitVariant(out);
    if (!Alive()) return RPC_E_DISCONNECTED;
    const Point p{int(x), int(y)};
    const std::vector<AccessibleItem> kids = Source().Children();
    for (size_t k = 0; k < kids.size(); ++k)
      if (kids[k].screen.Contains(p)) {
        out->vt = VT_I4;
        out->lVal = long(k + 1);
        return S_OK;
      }
    if (!Source().Root().screen.Contains(p)) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int i = 0;
    if (!ChildIndex(child, &i)) return E_INVALIDARG;
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (i == 0) return DISP_E_MEMBERNOTFOUND;
    Source().DoDefaultAction(i);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Alive() const { return link_->source != nullptr && IsWindow(hwnd_); }
  IAccessibleSource& Source() const { return *link_->source; }

  // The child a VARIANT names: 0 for the object itself, 1.. for the controls.
  bool ChildIndex(const VARIANT& v, int* index) const {
    if (v.vt != VT_I4) return false;
    if (v.lVal < 0) return false;
    if (v.lVal > 0 && Alive() && size_t(v.lVal) > Source().Children().size()) return false;
    *index = int(v.lVal);
    return true;
  }
  HRESULT Item(const VARIANT& child, AccessibleItem* item) const {
    int i = 0;
    if (!ChildIndex(child, &i)) return E_INVALIDARG;
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (i == 0) {
      *item = Source().Root();
      return S_OK;
    }
    const std::vector<AccessibleItem> kids = Source().Children();
    if (size_t(i) > kids.size()) return E_INVALIDARG;
    *item = kids[size_t(i - 1)];
    return S_OK;
  }
  template <class Get>
  HRESULT Text(const VARIANT& child, BSTR* out, Get get) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleItem item;
    const HRESULT hr = Item(child, &item);
    if (hr != S_OK) return hr;
    const std::string text = get(item);
    if (text.empty()) return S_FALSE;
    *out = ToBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  LONG refs_ = 1;
  HWND hwnd_;
  std::shared_ptr<AccessibleLink> link_;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, const std::shared_ptr<AccessibleLink>& link) {
  if (!link || !link->source) return 0;
  ClientAccessible* object = new ClientAccessible(hwnd, link);
  const LRESULT r = ResultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object));
  object->Release();  // LresultFromObject holds its own reference
  return r;
}

}  // namespace tov::win32
