#include "common/win32_handles.h"

#include <objbase.h>

namespace tavlin {
namespace {

HWND g_mainWindow = nullptr;

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
