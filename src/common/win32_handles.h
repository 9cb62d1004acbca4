// Owners for the platform handles the program creates. Each one is released by
// its destructor, never by hand; system-owned objects (stock and system-colour
// brushes) are never wrapped.
#pragma once

#include <windows.h>

#include <utility>

namespace tavlin {

// One move-only owner for every kind of handle; the SDK's own function closes
// it, exactly once, from the destructor or from reset(). Closing keeps the
// thread's last error as it was, so that an owner going out of scope between a
// failing call and GetLastError does not change the answer.
template <typename H, auto Close, H Empty = H{}>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H handle) noexcept : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  H get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Empty; }
  H release() noexcept { return std::exchange(handle_, Empty); }
  void reset(H handle = Empty) noexcept {
    const H old = std::exchange(handle_, handle);
    if (old == Empty) return;
    const DWORD error = GetLastError();
    Close(old);
    SetLastError(error);
  }
  // For out-parameters: frees what is held, then hands out the slot.
  H* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  H handle_ = Empty;
};

using UniqueKey = Unique<HKEY, &RegCloseKey>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueRegion = Unique<HRGN, &DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;
using UniqueDC = Unique<HDC, &DeleteDC>;  // a DC of our own (CreateCompatibleDC)
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueModule = Unique<HMODULE, &FreeLibrary>;
using UniqueLocal = Unique<HLOCAL, &LocalFree>;  // what the system allocated for us
// A file or other kernel handle. Functions that fail with INVALID_HANDLE_VALUE
// (CreateFile) go through OwnFile, so the owner holds null instead.
using UniqueHandle = Unique<HANDLE, &CloseHandle>;
inline UniqueHandle OwnFile(HANDLE h) {
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A BeginPaint / EndPaint pair.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A GetDC / ReleaseDC pair: a window's DC, or the screen's for a null window.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tavlin
