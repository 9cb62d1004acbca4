#include "common/win32_handles.h"

#include <objbase.h>

#include <string>
#include <utility>

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
  if (ProcAddress<void (*)()>(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory"))
    return LoadLibraryExW(name, nullptr, kSearchSystem32);
  // By its full path, and its own dependencies searched from its folder first.
  std::wstring path(MAX_PATH, L'\0');
  const UINT n = GetSystemDirectoryW(path.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  path.resize(n);
  path += L'\\';
  path += name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

int WindowDpi(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const auto forWindow = ProcAddress<Fn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (forWindow && hwnd) {
    if (const UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
  }
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

std::wstring WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

HWND MainWindowHandle() {
  return g_mainWindow;
}
void SetMainWindowHandle(HWND hwnd) {
  g_mainWindow = hwnd;
}

}  // namespace tavlin
