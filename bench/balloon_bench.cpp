// Balloon painting: 10,000 paints of one balloon tip, timed, with the
// process's GDI object count read before and after. The count must stay flat.
#include <windows.h>

#include <cstdio>

#include "support/gdi_count_win32.h"
#include "tooltip/tooltip_win32.h"

int main() {
  using namespace tavlin;
  const HWND tip = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER, 50, 50,
                                   136, 37, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tip) return 1;
  tooltip::modToolTip::InstallBalloonProc(tip);
  SetWindowTextW(tip, L"Small spinning picture that is displayed|in the upper right-hand corner");
  SendMessageW(tip, WM_PAINT, 0, 0);  // the platform may keep objects of its own from the first
  const int before = testing::GdiObjectCount();
  constexpr int kPaints = 10000;
  LARGE_INTEGER t0, t1, f;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < kPaints; ++i) {
    InvalidateRect(tip, nullptr, FALSE);
    SendMessageW(tip, WM_PAINT, 0, 0);
  }
  QueryPerformanceCounter(&t1);
  const int after = testing::GdiObjectCount();
  const double us = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e6 /
                    static_cast<double>(f.QuadPart) / kPaints;
  std::printf("%d balloon paints: %.1f us each; GDI objects before %d, after %d (%s)\n", kPaints,
              us, before, after, before == after ? "flat" : "LEAK");
  DestroyWindow(tip);
  return before == after ? 0 : 1;
}
