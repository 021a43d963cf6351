// Owners of the system's resources: each releases what it holds when it goes
// out of scope, once, by the call that matches how it was obtained. The Win32
// layer holds handles, GDI objects, registry keys and COM pointers in these
// rather than releasing them by hand on every path.
#pragma once
#include "platform/win32/WinApi.h"

#include <unknwn.h>

#include <utility>

namespace tov::win32 {

// A resource and its release; Invalid is the value that holds nothing.
template <class T, class Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(T value) : value_(value) {}
  ~Scoped() { Reset(); }
  Scoped(Scoped&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = std::exchange(other.value_, Traits::Invalid());
    }
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  T Get() const { return value_; }
  explicit operator bool() const { return Traits::Valid(value_); }
  // Releases what is held and takes value.
  void Reset(T value = Traits::Invalid()) {
    if (Traits::Valid(value_)) Traits::Release(value_);
    value_ = value;
  }
  // Gives up ownership without releasing.
  T Detach() { return std::exchange(value_, Traits::Invalid()); }
  // For functions that return the resource through a pointer.
  T* Put() {
    Reset();
    return &value_;
  }

 private:
  T value_ = Traits::Invalid();
};

struct KernelHandleTraits {  // CreateFile, CreateMutex ...: INVALID_HANDLE_VALUE or null hold nothing
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Release(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {  // FindFirstFile
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Release(HANDLE h) { FindClose(h); }
};
struct RegistryKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static bool Valid(HKEY k) { return k != nullptr; }
  static void Release(HKEY k) { RegCloseKey(k); }
};
template <class G>
struct GdiObjectTraits {  // pens, brushes, fonts, bitmaps, regions
  static G Invalid() { return nullptr; }
  static bool Valid(G g) { return g != nullptr; }
  static void Release(G g) { DeleteObject(g); }
};
struct MemoryDcTraits {  // CreateCompatibleDC
  static HDC Invalid() { return nullptr; }
  static bool Valid(HDC dc) { return dc != nullptr; }
  static void Release(HDC dc) { DeleteDC(dc); }
};
struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static bool Valid(HMODULE m) { return m != nullptr; }
  static void Release(HMODULE m) { FreeLibrary(m); }
};

using ScopedHandle = Scoped<HANDLE, KernelHandleTraits>;
using ScopedFind = Scoped<HANDLE, FindHandleTraits>;
using ScopedKey = Scoped<HKEY, RegistryKeyTraits>;
template <class G>
using ScopedGdi = Scoped<G, GdiObjectTraits<G>>;
using ScopedMemoryDc = Scoped<HDC, MemoryDcTraits>;
using ScopedLibrary = Scoped<HMODULE, LibraryTraits>;

// The screen's device context (GetDC of no window), for measuring and for
// reading the display's capabilities; released when it goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // GetDeviceCaps, or fallback when the screen could not be had.
  int Caps(int index, int fallback) const { return dc_ ? GetDeviceCaps(dc_, index) : fallback; }

 private:
  HDC dc_;
};

// A COM interface pointer: one reference, released at the end.
template <class I>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  I* Get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // For functions that return a new reference through a pointer.
  I** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

 private:
  I* p_ = nullptr;
};

}  // namespace tov::win32
