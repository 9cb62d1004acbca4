// The pictures the balloons show, under Wine: bitmaps the test writes,
// decoded by the system, drawn as a balloon draws them and read back pixel for
// pixel; and a tooltip window that shows one, moves it on and lets it go.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/text_boundary_win32.h"
#include "common/win32_handles.h"
#include "shell/picture_load_win32.h"
#include "support/bitmap_bytes.h"
#include "support/gdi_count_win32.h"
#include "support/temp_files_win32.h"
#include "tooltip/balloon.h"
#include "tooltip/tooltip_win32.h"

namespace tavlin::testing {
namespace {

using shell::Preview;
using shell::PreviewVerdict;
using tooltip::PictureKind;
using tooltip::Size;

std::wstring Folder() {
  return TestFolder(L"tavlin-pictures");
}

std::wstring Write(const std::wstring& name, const std::vector<std::byte>& bytes) {
  return WriteBytes(Folder() + L"\\" + name, bytes);
}

// A 32-bit top-down DIB section of our own in a memory DC, filled with a
// colour no picture here uses.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    select_ = std::make_unique<SelectScope>(dc_.get(), bitmap_.get());
    for (int i = 0; bits_ && i < width * height; ++i) bits_[i] = 0xFF00FF;
  }
  HDC dc() const { return dc_.get(); }
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }

 private:
  int width_;
  UniqueDC dc_{CreateCompatibleDC(nullptr)};
  UniqueBitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  std::unique_ptr<SelectScope> select_;
};

// Draws frame `frame` of the picture at `view` into a canvas of the view's
// size and compares each pixel with `expected(x, y)`; the mismatches, with
// the first one described.
template <typename F>
std::string Mismatches(HBITMAP bitmap, PictureKind kind, Size picture,
                       const tooltip::PictureView& view, int frame, F expected) {
  Canvas canvas(view.area.width, view.area.height);
  const tooltip::Rect at{0, 0, view.area.width, view.area.height};
  tooltip::modToolTip::DrawPicture(canvas.dc(), bitmap,
                                   tooltip::PictureBlits(kind, picture, view, at, frame));
  int wrong = 0;
  std::string first;
  for (int y = 0; y < view.area.height; ++y)
    for (int x = 0; x < view.area.width; ++x)
      if (const std::uint32_t got = canvas.At(x, y), want = expected(x, y); got != want) {
        if (!wrong++)
          first = " first at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                  std::to_string(got) + " for " + std::to_string(want);
      }
  return wrong ? std::to_string(wrong) + " pixels wrong," + first : "";
}

// Every kind the balloons show decodes to exactly the pixels written, on both
// families (on the 95 family through the code page), and is drawn whole, a
// strip's frame at a time at 1x and 2x, or a skin tiled across its band and
// cut at its end. Rows stored top-down are not shown at all: Windows 10 and
// later refuse them and Wine's reader leaves them blank.
TEST(BalloonPictures, TheSystemDecodesEveryKindOfBitmapPixelForPixel) {
  const struct {
    const char* what;
    PaintedLayout layout;
    int colours;
    bool nt, shown;
    PictureKind kind = PictureKind::Whole;
    Size area{};  // none: the picture's own size
    int zoom = 1, frame = 0;
  } cases[] = {
      {"1 bit", {13, 7, 1}, 2, true, true},
      {"4 bits", {13, 7, 4}, 16, true, true},
      {"8 bits", {13, 7, 8}, 40, true, true},
      {"24 bits", {13, 7, 24}, 0, true, true},
      {"32 bits", {13, 7, 32}, 0, true, true},
      {"RLE8", {13, 7, 8, false, true}, 5, true, true},
      {"24 bits on the 95 family", {13, 7, 24}, 0, false, true},
      {"24 bits, top-down", {13, 7, 24, true}, 0, true, false},
      {"8 bits, top-down", {13, 7, 8, true}, 40, true, false},
      {"a strip's second frame", {6, 24, 24}, 0, true, true, PictureKind::Frames, {6, 6}, 1, 1},
      {"a strip's last frame at 2x",
       {6, 24, 24},
       0,
       true,
       true,
       PictureKind::Frames,
       {12, 12},
       2,
       3},
      {"a skin tiled and cut", {5, 3, 8}, 0, true, true, PictureKind::Tiled, {12, 3}},
  };
  for (const auto& c : cases) {
    const auto rgb = PatternColours(c.layout.width, c.layout.height, c.colours);
    const std::wstring path = Write(L"kind\u00e4.bmp", PaintedBitmapBytes(c.layout, rgb));
    ASSERT_TRUE(win::CodePageHolds(path)) << "a name the code page holds";
    const Size size{c.layout.width, c.layout.height};
    win::AnswerAsNt(c.nt);
    const shell::LoadedPicture loaded =
        shell::LoadPicture(path, {PreviewVerdict::Show, size.width, size.height});
    win::AnswerAsNt(std::nullopt);
    ASSERT_EQ(bool(loaded.bitmap), c.shown) << c.what;
    if (!c.shown) continue;
    const Size area = c.area.Empty() ? size : c.area;
    const int frameRows = area.height / c.zoom;
    EXPECT_EQ(Mismatches(loaded.bitmap.get(), c.kind, size, {area, c.zoom}, c.frame,
                         [&](int x, int y) {
                           return rgb[(c.frame * frameRows + y / c.zoom) * size.width +
                                      (x / c.zoom) % size.width];
                         }),
              "")
        << c.what;
  }
}

// Nothing is decoded unless the file is still what the check found, on a disk.
TEST(BalloonPictures, AFileThatIsNoLongerWhatTheCheckFoundIsNotDecoded) {
  const std::wstring logo =
      Write(L"logo.bmp", PaintedBitmapBytes({38, 38, 24}, PatternColours(38, 38, 0)));
  const std::wstring png = Write(L"png.bmp", {std::byte{0x89}, std::byte{'P'}, std::byte{'N'},
                                              std::byte{'G'}, std::byte{'\r'}, std::byte{'\n'}});
  const struct {
    const char* what;
    std::wstring path;
    Preview expected;
    bool decoded;
  } cases[] = {
      {"the file as found", logo, {PreviewVerdict::Show, 38, 38}, true},
      {"another size since", logo, {PreviewVerdict::Show, 22, 22}, false},
      {"not to be shown", logo, {PreviewVerdict::TooLarge, 0, 0}, false},
      {"a PNG named .bmp", png, {PreviewVerdict::Show, 1, 1}, false},
      {"the null device", Folder() + L"\\NUL.bmp", {PreviewVerdict::Show, 1, 1}, false},
      {"a folder", Folder(), {PreviewVerdict::Show, 1, 1}, false},
      {"nothing there", Folder() + L"\\gone.bmp", {PreviewVerdict::Show, 1, 1}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(bool(shell::LoadPicture(c.path, c.expected).bitmap), c.decoded) << c.what;
}

// A tooltip window of our own with the balloon procedure in front.
class PictureTip : public ::testing::Test {
 protected:
  void SetUp() override {
    tip = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER, 50, 50, 136, 37,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(tip);
    tooltip::modToolTip::InstallBalloonProc(tip);
    SetWindowTextW(tip, L"A picture|below these lines");
  }
  void TearDown() override {
    if (IsWindow(tip)) DestroyWindow(tip);
  }
  Size Painted() {
    InvalidateRect(tip, nullptr, FALSE);
    SendMessageW(tip, WM_PAINT, 0, 0);
    RECT r{};
    GetClientRect(tip, &r);
    return {r.right, r.bottom};
  }
  // Whether a WM_TIMER reaches the window within `ms`.
  bool Ticks(DWORD ms) {
    MSG m;
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
      if (PeekMessageW(&m, tip, WM_TIMER, WM_TIMER, PM_REMOVE)) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    return false;
  }
  HWND tip = nullptr;
};

TEST_F(PictureTip, TheBalloonGrowsByItsPictureMovesItOnAndLetsItGo) {
  using tooltip::modToolTip::DecodedPictures;
  using tooltip::modToolTip::SetTipPicture;
  const std::wstring strip =
      Write(L"tip-strip.bmp", PaintedBitmapBytes({22, 88, 8}, PatternColours(22, 88, 7)));
  const std::size_t held = DecodedPictures();
  const Size plain = Painted();

  SetTipPicture(tip, {PictureKind::Frames, strip, 22, 88});
  EXPECT_EQ(DecodedPictures(), held) << "read only when the balloon paints";
  const Size with = Painted();
  EXPECT_EQ(with, (Size{plain.width, plain.height + 22 + 8}));
  EXPECT_EQ(DecodedPictures(), held + 1);
  const int objects = GdiObjectCount();
  for (int i = 0; i < 10; ++i) Painted();
  EXPECT_EQ(GdiObjectCount(), objects) << "repeated paints leave no object behind";
  EXPECT_TRUE(Ticks(1000)) << "a spinning logo moves on while it shows";
  ShowWindow(tip, SW_HIDE);
  Ticks(150);  // one that was due already
  EXPECT_FALSE(Ticks(400)) << "and stops when it hides";

  // A picture that no longer decodes as the check found it shows nothing.
  SetTipPicture(tip, {PictureKind::Whole, strip, 38, 38});
  EXPECT_EQ(DecodedPictures(), held) << "the old one let go";
  EXPECT_EQ(Painted(), plain);
  SetTipPicture(tip, {PictureKind::Frames, strip, 22, 88});
  EXPECT_EQ(Painted(), with);
  SetTipPicture(tip, {});
  EXPECT_EQ(Painted(), plain);
  SetTipPicture(tip, {PictureKind::Frames, strip, 22, 88});
  Painted();
  EXPECT_EQ(DecodedPictures(), held + 1);
  DestroyWindow(tip);
  EXPECT_EQ(DecodedPictures(), held) << "let go with its window";
}

// The window's region is the balloon's outline: inside it the body and the
// pointer, outside it the corners and the strip beside the pointer.
TEST_F(PictureTip, TheWindowTakesTheBalloonsOutlineAsItsRegion) {
  const Size size = Painted();
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(tip, region.get()), ERROR);
  const struct {
    int x, y;
    bool inside;
  } points[] = {{size.width / 2, size.height / 2, true},
                {9, 6, true},  // the pointer
                {0, 0, false},
                {40, 4, false},
                {0, size.height - 1, false},
                {size.width - 1, 8, false},
                {size.width - 1, size.height - 1, false}};
  for (const auto& p : points)
    EXPECT_EQ(PtInRegion(region.get(), p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
  const int objects = GdiObjectCount();
  Painted();
  EXPECT_EQ(GdiObjectCount(), objects) << "the same outline is not set again";
}

}  // namespace
}  // namespace tavlin::testing
