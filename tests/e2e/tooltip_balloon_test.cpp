// The help balloons of the real tavlin.exe under Wine and Xvfb: the pointer
// rests on a control, the balloon appears under it, and its pixels are read
// back from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "support/driver_win32.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {
namespace {

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

// The tooltip windows of the program.
std::vector<HWND> Tooltips(const TavlinProcess& tavlin) {
  struct Walk {
    DWORD pid;
    std::vector<HWND> found;
  } walk{tavlin.ProcessId(), {}};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == w->pid && ClassOf(h) == TOOLTIPS_CLASSW) w->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

HWND VisibleTooltip(const TavlinProcess& tavlin) {
  for (const HWND h : Tooltips(tavlin))
    if (IsWindowVisible(h)) return h;
  return nullptr;
}

// Rests the pointer on the point, as a hand would: there, and once any
// balloon shown before has gone, one pixel on, so that the control under the
// pointer sees it arrive.
POINT RestPointerAt(const TavlinProcess& tavlin, POINT p) {
  SetCursorPos(p.x, p.y);
  WaitFor([&] { return VisibleTooltip(tavlin) == nullptr; }, 3000);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = 1;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &move, sizeof move);
  POINT now{};
  WaitFor([&] { return GetCursorPos(&now) && now.x == p.x + 1 && now.y == p.y; }, 2000);
  return now;
}

POINT InsideOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return {r.left + 6, (r.top + r.bottom) / 2};
}

// The text's extent in the tip font: Tahoma, a 13-pixel cell, at 96 DPI.
SIZE MeasureTip(const std::wstring& text) {
  LOGFONTW lf{};
  lf.lfHeight = 13;
  lf.lfWeight = FW_NORMAL;
  wcscpy(lf.lfFaceName, L"Tahoma");
  const HFONT font = CreateFontIndirectW(&lf);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return {r.right, r.bottom};
}

// A copy of the screen's pixels in a rectangle.
class Screenshot {
 public:
  explicit Screenshot(RECT r) : width_(r.right - r.left), height_(r.bottom - r.top) {
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    memcpy(pixels_.data(), bits, pixels_.size() * sizeof(DWORD));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  COLORREF At(int x, int y) const {
    const DWORD p = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Writes the picture as a BMP file, for a person to look at.
  void Save(const std::wstring& path) const {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = -height_;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    const HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, &file, sizeof file, &written, nullptr);
    WriteFile(h, &info, sizeof info, &written, nullptr);
    WriteFile(h, pixels_.data(), bytes, &written, nullptr);
    CloseHandle(h);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  std::vector<DWORD> pixels_;
};

bool IsText(COLORREF c) {
  return GetRValue(c) + GetGValue(c) + GetBValue(c) < 192;
}

const std::wstring kStartTip = L"Page that is loaded when\r\nIE starts. Home page URL";

TEST(BalloonTips, SeventeenBorderlessTooltipWindowsAfterStartUp) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const std::vector<HWND> tips = Tooltips(tavlin);
  EXPECT_EQ(tips.size(), 17u);
  for (const HWND tip : tips) {
    EXPECT_EQ(GetWindow(tip, GW_OWNER), tavlin.Window());
    EXPECT_FALSE(GetWindowLongPtrW(tip, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(IsWindowVisible(tip)) << "no balloon before the pointer rests anywhere";
  }
}

TEST(BalloonTips, RestingOnTheStartPageShowsItsBalloonUnderTheCursor) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const SIZE text = MeasureTip(kStartTip);
  const POINT cursor = RestPointerAt(tavlin, InsideOf(tavlin.Control(Ctl::txtStart)));

  // The balloon hangs 2 pixels left of and 20 below the hot spot, sized to
  // its two lines with 8 pixels each side, 16 above and 8 below.
  HWND tip = nullptr;
  RECT r{};
  const RECT expected{cursor.x - 2, cursor.y + 20, cursor.x - 2 + text.cx + 16,
                      cursor.y + 20 + text.cy + 24};
  ASSERT_TRUE(WaitFor([&] {
    tip = VisibleTooltip(tavlin);
    return tip && tavlin.Text(tip) == kStartTip && GetWindowRect(tip, &r) &&
           EqualRect(&r, &expected);
  })) << "tip "
      << tip << " at " << r.left << "," << r.top << " " << r.right - r.left << "x"
      << r.bottom - r.top << ", wanted " << expected.left << "," << expected.top << " "
      << text.cx + 16 << "x" << text.cy + 24;

  // Without a border: the client area is the whole window.
  RECT client;
  GetClientRect(tip, &client);
  EXPECT_EQ(client.right, r.right - r.left);
  EXPECT_EQ(client.bottom, r.bottom - r.top);
  EXPECT_FALSE(GetWindowLongPtrW(tip, GWL_STYLE) & WS_BORDER);

  // What the screen shows. Let the paint that placed the window finish first.
  tavlin.Settle();
  const Screenshot shot(r);
  shot.Save(ProgramFolder() + L"tooltip_txtStart.bmp");
  const int w = shot.Width(), h = shot.Height();
  const COLORREF fill = GetSysColor(COLOR_INFOBK), outline = RGB(64, 64, 64);
  // The rounded body: filled inside, outlined in dark grey, its corners cut.
  EXPECT_EQ(shot.At(w / 2, 9), fill);
  EXPECT_EQ(shot.At(w / 2, 8), outline);
  EXPECT_EQ(shot.At(0, h / 2), outline);
  for (const POINT p : {POINT{0, 8}, POINT{w - 1, 8}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
    EXPECT_NE(shot.At(p.x, p.y), fill) << "corner " << p.x << "," << p.y;
  // The pointer at the top left: a dark grey vertical side at x 8 above the
  // body, the fill beside it, and nothing of the balloon further along.
  for (int y = 2; y < 8; ++y) EXPECT_EQ(shot.At(8, y), outline) << y;
  EXPECT_EQ(shot.At(9, 6), fill);
  EXPECT_NE(shot.At(40, 4), fill);
  EXPECT_NE(shot.At(40, 4), outline);
  // Both lines of text, each reaching most of the text's width.
  const int lineHeight = text.cy / 2;
  int rightmost[2] = {0, 0}, inLine[2] = {0, 0};
  for (int line = 0; line < 2; ++line)
    for (int y = 16 + line * lineHeight; y < 16 + (line + 1) * lineHeight; ++y)
      for (int x = 8; x < w - 8; ++x)
        if (IsText(shot.At(x, y))) {
          ++inLine[line];
          rightmost[line] = std::max(rightmost[line], x);
        }
  EXPECT_GT(inLine[0], 40);
  EXPECT_GT(inLine[1], 40);
  EXPECT_GT(rightmost[0], 8 + text.cx * 3 / 4);
  EXPECT_GT(rightmost[1], 8 + text.cx * 3 / 4);
}

// Rests the pointer on each control of the catalogue in turn and reads the
// text of the balloon that appears.
TEST(BalloonTips, EachCatalogueControlShowsItsOwnText) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  int shownCount = 0;
  for (const tooltip::TipRow& row : tooltip::TipCatalogue()) {
    // The version box is disabled, and a disabled window gets no mouse
    // messages for its tooltip to watch. Its tooltip window is there all the
    // same (counted in the start-up test above).
    if (row.control == Ctl::txtVer) continue;
    const std::wstring expected = tooltip::TipText(row);
    SCOPED_TRACE(std::string(expected.begin(), expected.begin() + 12));
    const HWND control = tavlin.Control(row.control);
    ASSERT_TRUE(control);
    POINT at = InsideOf(control);
    // The list's own window is its border and drop-down button; its text part
    // is an edit box of its own, which the tip does not watch.
    if (row.control == Ctl::cboFullScreen) {
      RECT r;
      GetWindowRect(control, &r);
      at = {r.right - 6, r.top + 8};
    }
    RestPointerAt(tavlin, at);
    // The platform shows a tip half a second after the pointer comes to rest.
    // The bound is well under the two seconds a hidden balloon would block the
    // program for if Wine took the tooltip windows for managed ones.
    std::wstring shown;
    EXPECT_TRUE(WaitFor(
        [&] {
          shown.clear();
          for (const HWND tip : Tooltips(tavlin))
            if (IsWindowVisible(tip) && (shown = tavlin.Text(tip)) == expected) return true;
          return false;
        },
        2000))
        << "shown: " << std::string(shown.begin(), shown.end());
    shownCount += shown == expected;
  }
  EXPECT_EQ(shownCount, 16);
}

TEST(BalloonTips, ButtonsWithoutATipShowNone) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const std::vector<HWND> tips = Tooltips(tavlin);
  ASSERT_FALSE(tips.empty());
  const DWORD initial =
      static_cast<DWORD>(SendMessageW(tips[0], TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  for (const Ctl untipped : {Ctl::cmdBmp_0, Ctl::cmbdir_1}) {
    RestPointerAt(tavlin, InsideOf(tavlin.Control(untipped)));
    EXPECT_FALSE(WaitFor([&] { return VisibleTooltip(tavlin) != nullptr; }, 4 * initial))
        << int(untipped);
  }
  // The same rest on a tipped control beside them does show one.
  RestPointerAt(tavlin, InsideOf(tavlin.Control(Ctl::txtSkin)));
  EXPECT_TRUE(WaitFor([&] {
    const HWND tip = VisibleTooltip(tavlin);
    return tip && tavlin.Text(tip) == L"Give the toolbar a background 'skin'";
  }));
}

}  // namespace
}  // namespace tavlin::testing
