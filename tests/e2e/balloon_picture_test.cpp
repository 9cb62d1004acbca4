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
#include "support/tip_texts.h"

namespace tavlin::testing {
namespace {

using namespace settings;

constexpr int kMargin = 8;  // the balloon's margin at 96 DPI, below the picture too

void WriteBytes(const std::wstring& path, const std::vector<std::byte>& bytes) {
  const UniqueHandle file = OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

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
  static std::wstring Folder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"tavlin-balloon-pictures";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
  }
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

// F1 in a box, as the user presses it there, the pointer away from the window.
void HelpKeyIn(const TavlinProcess& tavlin, Ctl box) {
  SetCursorPos(1270, 1010);
  const HWND h = tavlin.Control(box);
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  PostMessageW(h, WM_KEYDOWN, VK_F1, 1);
  PostMessageW(h, WM_KEYUP, VK_F1, 0xC0000001);
}

TEST_F(BalloonPictureWindow, ASeededLogoShowsPixelForPixelUnderThePointerAndOnF1) {
  const auto logo = PatternColours(38, 38, 0, 0x204060);
  const std::wstring path = Folder() + L"\\logo.bmp";
  WriteBytes(path, PaintedBitmapBytes({38, 38, 24}, logo));
  Seed(L"BigBitmap", path);
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
  const std::wstring text = TipTexts(tavlin).at(Ctl::txtLgStat);
  ASSERT_NE(text.find(L"Picture file: 38 \u00d7 38 pixels"), std::wstring::npos);
  for (const bool keyboard : {true, false}) {
    if (keyboard)
      HelpKeyIn(tavlin, Ctl::txtLgStat);
    else
      RestPointerOn(tavlin, Ctl::txtLgStat);
    const HWND tip = ShownBalloon(tavlin, text);
    ASSERT_TRUE(tip) << (keyboard ? "F1" : "pointer");
    // Once the balloon has been placed and painted.
    int wrong = 0;
    WaitFor(
        [&] {
          const ScreenPixels shown(PictureIn(WindowRectOf(tip), 38, 38));
          wrong = 0;
          for (int y = 0; y < 38; ++y)
            for (int x = 0; x < 38; ++x) wrong += shown.At(x, y) != logo[y * 38 + x];
          return wrong == 0;
        },
        2000);
    EXPECT_EQ(wrong, 0) << (keyboard ? "F1" : "pointer");
    if (keyboard) PostMessageW(tavlin.Control(Ctl::txtLgStat), WM_KEYDOWN, VK_ESCAPE, 1);
  }
}

// Four frames, each one colour: the picture's middle shows them in turn, each
// followed by the next, while the balloon stays where it is.
TEST_F(BalloonPictureWindow, ASpinningLogoPlaysItsFramesInTurn) {
  const std::uint32_t colours[] = {0xD02020, 0x20A040, 0x2040D0, 0xE0C020};
  std::vector<std::uint32_t> strip;
  for (int y = 0; y < 88; ++y)
    for (int x = 0; x < 22; ++x) strip.push_back(colours[y / 22]);
  const std::wstring path = Folder() + L"\\spin.bmp";
  WriteBytes(path, PaintedBitmapBytes({22, 88, 8}, strip));
  Seed(L"smBrandBitmap", path);
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
  RestPointerOn(tavlin, Ctl::txtSmBmp);
  const HWND tip = ShownBalloon(tavlin, TipTexts(tavlin).at(Ctl::txtSmBmp));
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
  EXPECT_NE(tips.at(Ctl::txtLgBmp).find(L"Picture file: 5000 \u00d7 5000 pixels"),
            std::wstring::npos);
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
