// The maker's logo as the program shows it: its pixels on the screen, on both
// panels, are those of the GIF it is drawn from (src/app/res/logo.gif, carried
// by this test program as a resource and read with the platform's own picture
// decoder), whatever form the program keeps the picture in.
#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

constexpr int kLogoSize = 43;
constexpr int kGifResource = 1;  // tests/e2e/logo.rc

using Pixels = std::vector<COLORREF>;  // row by row from the top, RGB

// The pixels of a bitmap, or of the screen under a rectangle, as RGB values.
Pixels Read(HDC source, int x, int y, int width, int height) {
  const HDC screen = GetDC(nullptr);
  const HDC copy = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(copy, dib);
  BitBlt(copy, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  Pixels pixels(static_cast<std::size_t>(width) * height);
  // Each pixel of the section is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
  const auto* xrgb = static_cast<const DWORD*>(bits);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = RGB((xrgb[i] >> 16) & 0xFF, (xrgb[i] >> 8) & 0xFF, xrgb[i] & 0xFF);
  SelectObject(copy, old);
  DeleteObject(dib);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The GIF decoded by the platform's picture decoder.
Pixels DecodedGif() {
  const HMODULE self = GetModuleHandleW(nullptr);
  const HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(kGifResource), RT_RCDATA);
  const DWORD size = res ? SizeofResource(self, res) : 0;
  const void* gif = res ? LockResource(LoadResource(self, res)) : nullptr;
  if (!gif || size == 0) return {};
  const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(copy), gif, size);
  GlobalUnlock(copy);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Pixels pixels;
  IStream* stream = nullptr;
  IPicture* picture = nullptr;
  if (SUCCEEDED(CreateStreamOnHGlobal(copy, TRUE, &stream)) &&
      SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                               reinterpret_cast<void**>(&picture)))) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)));
    pixels = Read(dc, 0, 0, kLogoSize, kLogoSize);
    SelectObject(dc, old);
    DeleteDC(dc);
    picture->Release();
  }
  if (stream) stream->Release();
  CoUninitialize();
  return pixels;
}

// The picture shown by an image control: the screen under the control, whose
// 43 x 43 pixels the picture fills at 96 DPI.
Pixels Shown(const TavlinProcess& tavlin, Ctl image) {
  RECT r;
  GetWindowRect(tavlin.Control(image), &r);
  EXPECT_EQ(r.right - r.left, kLogoSize);
  EXPECT_EQ(r.bottom - r.top, kLogoSize);
  const HDC screen = GetDC(nullptr);
  Pixels pixels = Read(screen, r.left, r.top, kLogoSize, kLogoSize);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int Differing(const Pixels& a, const Pixels& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n + static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

TEST(Logo, BothPanelsShowTheGifsPixelsExactly) {
  const Pixels gif = DecodedGif();
  ASSERT_EQ(gif.size(), static_cast<std::size_t>(kLogoSize * kLogoSize));
  // A picture of one colour would match a blank control too closely to prove anything.
  ASSERT_GT(std::count_if(gif.begin(), gif.end(), [&](COLORREF c) { return c != gif[0]; }), 500);

  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.Settle();
  EXPECT_EQ(Differing(Shown(tavlin, Ctl::Image1), gif), 0) << "settings panel";

  tavlin.ClickLabel(Ctl::Label13);  // " About ..."
  const HWND about = tavlin.Control(Ctl::frmMenu_1);
  ASSERT_TRUE(WaitFor([&] { return GetWindow(GetParent(about), GW_CHILD) == about; }));
  Pixels shown;
  EXPECT_TRUE(WaitFor([&] { return Differing(shown = Shown(tavlin, Ctl::imgLogo), gif) == 0; }))
      << "About panel: " << Differing(shown, gif) << " pixels differ";
}

}  // namespace
}  // namespace tavlin::testing
