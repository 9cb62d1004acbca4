#include "common/win32_handles.h"

#include <objbase.h>

#include <string>
#include <utility>

#include "common/text_boundary_win32.h"

namespace tavlin {
namespace {

HWND g_mainWindow = nullptr;
ProcLookup g_lookup = nullptr;  // null: GetProcAddress

struct ComApartment {
  bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  ~ComApartment() {
    if (started) CoUninitialize();
  }
};

}  // namespace

void EnsureComApartment() {
  static ComApartment apartment;
}

ProcLookup ActiveProcLookup() {
  return g_lookup ? g_lookup : &GetProcAddress;
}

ProcLookup SetProcLookup(ProcLookup lookup) {
  return std::exchange(g_lookup, lookup);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  // LOAD_LIBRARY_SEARCH_SYSTEM32: 8 and later, and Vista or 7 with KB2533623,
  // which also brings AddDllDirectory. Older systems refuse the flag.
  constexpr DWORD kSearchSystem32 = 0x00000800;
  if (ProcAddress<void (*)()>(GetModuleHandleA("kernel32.dll"), "AddDllDirectory"))
    return win::LoadLibraryEx(name, kSearchSystem32);
  // By its full path, and its own dependencies searched from its folder first.
  const std::wstring folder = win::SystemDirectory();
  if (folder.empty()) return nullptr;
  return win::LoadLibraryEx(folder + L"\\" + name, LOAD_WITH_ALTERED_SEARCH_PATH);
}

int WindowDpi(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const auto forWindow = ProcAddress<Fn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
  if (forWindow && hwnd) {
    if (const UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
  }
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

HWND MainWindowHandle() {
  return g_mainWindow;
}
void SetMainWindowHandle(HWND hwnd) {
  g_mainWindow = hwnd;
}

}  // namespace tavlin
