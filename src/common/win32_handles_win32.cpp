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

HWND MainWindowHandle() {
  return g_mainWindow;
}
void SetMainWindowHandle(HWND hwnd) {
  g_mainWindow = hwnd;
}

}  // namespace tavlin
