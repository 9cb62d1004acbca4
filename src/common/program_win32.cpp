#include "common/program_win32.h"

#include <objbase.h>

#include "common/entry_points_win32.h"
#include "common/win32_handles.h"

namespace tavlin {
namespace {

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
  if (const auto forWindow = win::Newer().GetDpiForWindow; forWindow && hwnd) {
    if (const UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
  }
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace tavlin
