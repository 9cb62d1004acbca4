// Balloon painting: 10,000 paints of one balloon tip, timed, with the
// process's GDI object count read before and after, then the same with a
// spinning logo below its text. The count must stay flat.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/bitmap_bytes.h"
#include "support/gdi_count_win32.h"
#include "tooltip/tooltip_win32.h"

namespace {

// Paints the tip 10,000 times; false when GDI objects were left behind.
bool TimePaints(HWND tip, const char* what) {
  SendMessageW(tip, WM_PAINT, 0, 0);  // the platform may keep objects of its own from the first
  const int before = tavlin::testing::GdiObjectCount();
  constexpr int kPaints = 10000;
  LARGE_INTEGER t0, t1, f;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < kPaints; ++i) {
    InvalidateRect(tip, nullptr, FALSE);
    SendMessageW(tip, WM_PAINT, 0, 0);
  }
  QueryPerformanceCounter(&t1);
  const int after = tavlin::testing::GdiObjectCount();
  const double us = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e6 /
                    static_cast<double>(f.QuadPart) / kPaints;
  std::printf("%d balloon paints %s: %.1f us each; GDI objects before %d, after %d (%s)\n", kPaints,
              what, us, before, after, before == after ? "flat" : "LEAK");
  return before == after;
}

}  // namespace

int main() {
  using namespace tavlin;
  const HWND tip = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER, 50, 50,
                                   136, 37, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tip) return 1;
  tooltip::modToolTip::InstallBalloonProc(tip);
  SetWindowTextW(tip, L"Small spinning picture that is displayed|in the upper right-hand corner");
  bool flat = TimePaints(tip, "without a picture");

  // A spinning logo of ten 22 x 22 frames, written to the temporary folder.
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring path = std::wstring(temp) + L"tavlin-bench-spin.bmp";
  const auto bytes = testing::PaintedBitmapBytes({22, 220, 8}, testing::PatternColours(22, 220, 9));
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  tooltip::modToolTip::SetTipPicture(tip, {tooltip::PictureKind::Frames, path, 22, 220});
  flat = TimePaints(tip, "with a spinning logo") && flat;
  DestroyWindow(tip);
  DeleteFileW(path.c_str());
  return flat ? 0 : 1;
}
