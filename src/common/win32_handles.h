// Owners for the platform handles the program creates. Each one is released by
// its destructor; system-owned objects (stock and system-colour brushes) are
// never wrapped.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "common/unique_handle.h"

namespace tavlin {

namespace detail {
inline void DeleteFontHandle(HFONT h) noexcept {
  DeleteObject(h);
}
inline void DeleteRegionHandle(HRGN h) noexcept {
  DeleteObject(h);
}
inline void DeleteBitmapHandle(HBITMAP h) noexcept {
  DeleteObject(h);
}
inline void DeleteBrushHandle(HBRUSH h) noexcept {
  DeleteObject(h);
}
inline void DeleteDCHandle(HDC h) noexcept {
  DeleteDC(h);
}
inline void CloseRegKey(HKEY h) noexcept {
  RegCloseKey(h);
}
inline void DestroyIconHandle(HICON h) noexcept {
  DestroyIcon(h);
}
inline void FreeLibraryHandle(HMODULE h) noexcept {
  FreeLibrary(h);
}
inline void CoTaskFree(void* p) noexcept {
  CoTaskMemFree(p);
}
inline void CloseKernelHandle(HANDLE h) noexcept {
  CloseHandle(h);
}
}  // namespace detail

using UniqueKey = Unique<HKEY, &detail::CloseRegKey>;
using UniqueFont = Unique<HFONT, &detail::DeleteFontHandle>;
using UniqueRegion = Unique<HRGN, &detail::DeleteRegionHandle>;
using UniqueBitmap = Unique<HBITMAP, &detail::DeleteBitmapHandle>;
using UniqueBrush = Unique<HBRUSH, &detail::DeleteBrushHandle>;
using UniqueDC = Unique<HDC, &detail::DeleteDCHandle>;  // a DC of our own (CreateCompatibleDC)
using UniqueIcon = Unique<HICON, &detail::DestroyIconHandle>;
using UniqueModule = Unique<HMODULE, &detail::FreeLibraryHandle>;
// A file or other kernel handle. Functions that fail with INVALID_HANDLE_VALUE
// (CreateFileW) go through FileHandle or OwnFile, so the owner holds null instead.
using UniqueHandle = Unique<HANDLE, &detail::CloseKernelHandle>;
inline HANDLE FileHandle(HANDLE h) noexcept {
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}
inline UniqueHandle OwnFile(HANDLE h) {
  return UniqueHandle(FileHandle(h));
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

// How entry points are looked up at run time: GetProcAddress, unless a test
// denies some to see what a system without them gets. `name` may be an
// ordinal (MAKEINTRESOURCEA).
using ProcLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);
ProcLookup ActiveProcLookup();
// Replaces the look-up (null: GetProcAddress again); returns the one it replaces.
ProcLookup SetProcLookup(ProcLookup lookup);

// Entry points newer than the oldest system the program runs on are looked up,
// never imported. GetProcAddress returns a generic function pointer; this is
// the one place it is cast to a real signature.
template <typename F>
F ProcAddress(HMODULE module, const char* name) {
  const FARPROC p = module ? ActiveProcLookup()(module, name) : nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

// A system library, loaded from the system folder only: with the search flag
// that keeps other folders out where the system knows it (AddDllDirectory is
// the sign), else by its full path there. Null if it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// COM, apartment-threaded on the window's thread, started once on first need
// and ended when the program exits.
void EnsureComApartment();

// The DPI a window is laid out for: GetDpiForWindow where the system has it,
// else the screen's. Newer than the oldest systems the program runs on, so it
// is looked up at run time.
int WindowDpi(HWND hwnd);

// The program's one global reference to its main window, through which shared
// routines (the shell owner window) reach it. Null before creation and after unload.
HWND MainWindowHandle();
void SetMainWindowHandle(HWND hwnd);

}  // namespace tavlin
