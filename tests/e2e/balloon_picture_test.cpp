// The pictures in the real tavlin.exe's balloons under Wine and Xvfb: logos
// seeded in the registry show in their boxes' balloons, read back from the
// screen; a spinning one moves on; files that are no picture show none and
// hold nothing up.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/win32_handles.h"
#include "settings/catalogue.h"
#include "support/bitmap_bytes.h"
#include "support/driver_win32.h"
#include "support/temp_files_win32.h"
#include "support/tip_texts.h"

namespace tavlin::testing {
namespace {

using namespace settings;

constexpr int kMargin = 8;  // the balloon's margin at 96 DPI, below the picture too

// The picture values are seeded by each test and gone before and after: the
// prefix is shared with the other suites.
class BalloonPictureWindow : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override {
    Clear();
    SetCursorPos(1270, 1010);  // off the window, where no balloon shows for the next test
  }
  static void Clear() {
    for (const auto name : {L"BackBitmapIE5", L"BackBitmap", L"smBrandBitmap", L"BrandBitmap",
                            L"SmallBitmap", L"BigBitmap"})
      RegDeleteRaw(std::wstring(kToolbarKey), name);
  }
  static void Seed(const wchar_t* name, const std::wstring& path) {
    RegPutRaw(std::wstring(kToolbarKey), name, REG_SZ, Utf16Bytes(path, true));
  }
  static std::wstring Folder() { return TestFolder(L"tavlin-balloon-pictures"); }
};

RECT WindowRectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// The picture's place in a balloon whose window is at `r`: at the margin on
// the left, its bottom a margin above the balloon's.
RECT PictureIn(const RECT& r, int width, int height) {
  const int top = r.bottom - kMargin - height;
  return {r.left + kMargin, top, r.left + kMargin + width, top + height};
}

// A static logo shows pixel for pixel. A spinning one of four frames, each one
// colour, shows them in turn at the picture's middle, each followed by the
// next, while its balloon stays where it is.
TEST_F(BalloonPictureWindow, ALogoShowsPixelForPixelAndASpinningOnePlaysItsFramesInTurn) {
  const auto logo = PatternColours(38, 38, 0, 0x204060);
  Seed(L"BigBitmap", WriteBytes(Folder() + L"\\logo.bmp", PaintedBitmapBytes({38, 38, 24}, logo)));
  const std::uint32_t colours[] = {0xD02020, 0x20A040, 0x2040D0, 0xE0C020};
  std::vector<std::uint32_t> strip;
  for (int y = 0; y < 88; ++y)
    for (int x = 0; x < 22; ++x) strip.push_back(colours[y / 22]);
  Seed(L"smBrandBitmap",
       WriteBytes(Folder() + L"\\spin.bmp", PaintedBitmapBytes({22, 88, 8}, strip)));
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
  const auto tips = TipTexts(tavlin);

  RestPointerOn(tavlin, Ctl::txtLgStat);
  HWND tip = ShownBalloon(tavlin, tips.at(Ctl::txtLgStat));
  ASSERT_TRUE(tip);
  int wrong = 0;
  WaitFor(  // once the balloon has been placed and painted
      [&] {
        const ScreenPixels shown(PictureIn(WindowRectOf(tip), 38, 38));
        wrong = 0;
        for (int y = 0; y < 38; ++y)
          for (int x = 0; x < 38; ++x) wrong += shown.At(x, y) != logo[y * 38 + x];
        return wrong == 0;
      },
      2000);
  EXPECT_EQ(wrong, 0);

  RestPointerOn(tavlin, Ctl::txtSmBmp);
  tip = ShownBalloon(tavlin, tips.at(Ctl::txtSmBmp));
  ASSERT_TRUE(tip);
  tavlin.Settle();
  const RECT placed = WindowRectOf(tip);
  const RECT middle = PictureIn(placed, 22, 22);
  std::vector<int> seen;  // frame indexes, each change once
  WaitFor(
      [&] {
        const std::uint32_t c =
            ScreenPixels({middle.left + 11, middle.top + 11, middle.left + 12, middle.top + 12})
                .At(0, 0);
        for (int i = 0; i < 4; ++i)
          if (c == colours[i] && (seen.empty() || seen.back() != i)) seen.push_back(i);
        return seen.size() >= 6;
      },
      3000);
  ASSERT_GE(seen.size(), 6u) << "frames seen: " << seen.size();
  for (std::size_t i = 1; i < seen.size(); ++i)
    EXPECT_EQ(seen[i], (seen[i - 1] + 1) % 4) << "the frame after " << seen[i - 1];
  const RECT now = WindowRectOf(tip);
  EXPECT_TRUE(EqualRect(&now, &placed)) << "the balloon stays put while it plays";
}

// The height of a text in the balloon's font at 96 DPI.
int TextHeight(const std::wstring& text) {
  const UniqueFont font(CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
  const UniqueDC dc(CreateCompatibleDC(nullptr));
  const SelectScope select(dc.get(), font.get());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOCLIP);
  return r.bottom;
}

TEST_F(BalloonPictureWindow, FilesThatAreNoPictureShowNoneAndHoldNothingUp) {
  const std::wstring folder = Folder();
  const std::wstring huge = folder + L"\\huge.bmp", cut = folder + L"\\cut.bmp",
                     png = folder + L"\\png.bmp";
  // An RLE header may say any size; its file holds a few bytes of runs.
  WriteBytes(huge, BitmapBytes({.width = 5000,
                                .height = 5000,
                                .bits = 8,
                                .compression = 1,
                                .extraBytes = 64 - 5000 * 5000}));
  WriteBytes(cut, BitmapBytes({.width = 38, .height = 38, .extraBytes = -9}));
  WriteBytes(png, {std::byte{0x89}, std::byte{'P'}, std::byte{'N'}, std::byte{'G'}, std::byte{'\r'},
                   std::byte{'\n'}, std::byte{0x1A}, std::byte{'\n'}});
  Seed(L"BrandBitmap", huge);
  Seed(L"SmallBitmap", cut);
  Seed(L"BigBitmap", folder);
  Seed(L"smBrandBitmap", folder + L"\\NUL.bmp");
  Seed(L"BackBitmapIE5", png);
  Seed(L"BackBitmap", png);
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
  tavlin.Settle();
  const auto tips = TipTexts(tavlin);
  EXPECT_TRUE(tips.at(Ctl::txtLgBmp).ends_with(L"\r\nPicture too large to show"));
  for (const Ctl box :
       {Ctl::txtLgBmp, Ctl::txtSmStat, Ctl::txtLgStat, Ctl::txtSmBmp, Ctl::txtSkin}) {
    RestPointerOn(tavlin, box);
    const std::wstring text = tips.at(box);
    const HWND tip = ShownBalloon(tavlin, text);
    ASSERT_TRUE(tip) << "within two seconds, box " << int(box);
    tavlin.Settle();
    const RECT r = WindowRectOf(tip);
    EXPECT_EQ(r.bottom - r.top, TextHeight(text) + 24) << "no picture, box " << int(box);
  }
  EXPECT_TRUE(tavlin.Close()) << "it still answers, and ends when asked";
}

}  // namespace
}  // namespace tavlin::testing
