// Where a balloon goes and what shape it has, as integers, at 96 DPI and scaled.
#include <gtest/gtest.h>

#include "tooltip/balloon.h"

namespace tavlin::tooltip {
namespace {

// The window for a text of width x height with the cursor at `cursor`, as the
// tooltip window procedure asks for it.
Rect PlaceTip(Point cursor, int width, int height, int dpi) {
  const BalloonMetrics m = MetricsFor(dpi);
  const Point o = TipOrigin(cursor, m);
  return TipWindowRect({o.x, o.y, o.x + width, o.y + height}, m);
}

TEST(BalloonScale, EachFigureRoundsToTheNearestPixel) {
  const struct {
    int pixels, dpi, expected;
  } cases[] = {{13, 96, 13},  {13, 120, 16}, {13, 144, 20}, {15, 144, 23}, {-2, 120, -3},
               {-2, 144, -3}, {20, 192, 40}, {1, 120, 1},   {1, 144, 2},   {13, 0, 13}};
  for (const auto& c : cases) EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.expected) << c.dpi;
  const BalloonMetrics m = MetricsFor(96);
  EXPECT_EQ((std::array{m.fontHeight, m.cursorDx, m.cursorDy, m.pointerInset, m.pointerHeight,
                        m.pointerWidth, m.ellipse, m.margin, m.frame}),
            (std::array{13, -2, 20, 8, 8, 8, 15, 8, 1}));
}

TEST(TipPlacement, HangsBelowTheCursorSizedToTheText) {
  const struct {
    Point cursor;
    int width, height, dpi;
    Rect expected;
  } cases[] = {
      {{500, 300}, 120, 13, 96, {498, 320, 634, 357}},        // 136 x 37
      {{500, 300}, 40, 26, 96, {498, 320, 554, 370}},         // two lines + 24
      {{1278, 1020}, 150, 26, 96, {1276, 1040, 1442, 1090}},  // runs off-screen
      {{500, 300}, 180, 20, 144, {497, 330, 701, 386}},       // -3 / +30, margins 12
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceTip(c.cursor, c.width, c.height, c.dpi), c.expected) << c.width << " " << c.dpi;
}

// The keyboard's tip: the pointer on the control's lower edge, twice its inset
// in from the left end, or at the middle of a narrower control.
TEST(TipPlacement, TheKeyboardsTipPointsNearTheControlsLeftEnd) {
  const struct {
    Rect control;
    int dpi;
    Point pointer;
  } cases[] = {
      {{100, 200, 420, 221}, 96, {116, 221}},  // a wide box
      {{100, 200, 133, 221}, 96, {116, 221}},  // just wider than 32
      {{100, 200, 120, 221}, 96, {110, 221}},  // narrow: its middle
      {{100, 200, 580, 232}, 144, {124, 232}},
  };
  for (const auto& c : cases) {
    const BalloonMetrics m = MetricsFor(c.dpi);
    const Point o = TipOriginUnder(c.control, m);
    EXPECT_EQ((Point{o.x + m.pointerInset, o.y}), c.pointer) << c.control.Width();
  }
}

TEST(BalloonGeometry, WorkedExamples) {
  const struct {
    int w, h, dpi;
    Rect body;
    Point p0, p1, p2;
    Rect text;
    int ellipse;
  } cases[] = {
      {136, 37, 96, {0, 8, 136, 37}, {8, 0}, {8, 8}, {16, 8}, {8, 16, 128, 29}, 15},
      {204, 56, 144, {0, 12, 204, 56}, {12, 0}, {12, 12}, {24, 12}, {12, 24, 192, 44}, 23},
  };
  for (const auto& c : cases) {
    const BalloonShape s = BalloonGeometry(c.w, c.h, MetricsFor(c.dpi));
    EXPECT_EQ(s.body, c.body);
    EXPECT_EQ(s.pointer, (std::array{c.p0, c.p1, c.p2}));
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.ellipse, c.ellipse);
  }
}

// At every DPI the sized window gives back the measured text as its text
// rectangle, and the pointer's tip lands just right of and below the hot spot.
TEST(BalloonGeometry, SizedWindowFitsTheTextAtEveryDpi) {
  const Point cursor{640, 480};
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& [w, h] : {std::pair{0, 13}, {233, 39}, {1, 1}}) {
      const BalloonMetrics m = MetricsFor(dpi);
      const Rect win = PlaceTip(cursor, w, h, dpi);
      const BalloonShape s = BalloonGeometry(win.Width(), win.Height(), m);
      EXPECT_EQ(s.text.Width(), w) << dpi;
      EXPECT_EQ(s.text.Height(), h) << dpi;
      EXPECT_EQ(win.left + s.pointer[0].x, cursor.x + m.cursorDx + m.pointerInset) << dpi;
      EXPECT_EQ(win.top + s.pointer[0].y, cursor.y + m.cursorDy) << dpi;
      EXPECT_EQ(s.pointer[1].y, s.body.top) << "feet on the body's top edge";
      EXPECT_EQ(s.pointer[2].x - s.pointer[1].x, s.pointer[1].y - s.pointer[0].y) << "45 degrees";
    }
  }
}

}  // namespace
}  // namespace tavlin::tooltip

namespace tavlin::tooltip {
namespace {

// A picture goes below the text, a margin apart; the text keeps its place and
// the window grows by the picture (and widens only for a picture wider than
// the text).
TEST(BalloonPicture, GoesBelowTheTextWhichKeepsItsPlace) {
  const struct {
    int w, h, dpi;
    Size picture;
    Rect window, text, at;
  } cases[] = {
      {120, 13, 96, {}, {0, 0, 136, 37}, {8, 16, 128, 29}, {}},
      {120, 13, 96, {38, 38}, {0, 0, 136, 83}, {8, 16, 128, 29}, {8, 37, 46, 75}},
      {20, 13, 96, {38, 38}, {0, 0, 54, 83}, {8, 16, 46, 29}, {8, 37, 46, 75}},
      {180, 20, 144, {76, 76}, {0, 0, 204, 144}, {12, 24, 192, 44}, {12, 56, 88, 132}},
  };
  for (const auto& c : cases) {
    const BalloonMetrics m = MetricsFor(c.dpi);
    const Rect window = TipWindowRect({0, 0, c.w, c.h}, m, c.picture);
    EXPECT_EQ(window, c.window) << c.w << " " << c.dpi;
    const BalloonShape s = BalloonGeometry(window.Width(), window.Height(), m, c.picture);
    EXPECT_EQ(s.text.top, c.text.top);
    EXPECT_EQ(s.text.bottom, c.text.bottom) << "as tall as the text, as without a picture";
    EXPECT_EQ(s.text.left, c.text.left);
    EXPECT_EQ(s.picture, c.at);
    EXPECT_EQ(s.body, (Rect{0, m.pointerHeight, window.right, window.bottom}));
  }
}

TEST(BalloonPicture, WholePixelZoomThenCroppedToTheRoomNeverSqueezed) {
  const Size room{1264, 900};
  const struct {
    PictureKind kind;
    Size picture;
    int textWidth, dpi;
    Size room;
    PictureView view;
  } cases[] = {
      {PictureKind::Whole, {38, 38}, 200, 96, room, {{38, 38}, 1}},
      {PictureKind::Whole, {38, 38}, 200, 144, room, {{38, 38}, 1}},
      {PictureKind::Whole, {38, 38}, 200, 192, room, {{76, 76}, 2}},
      {PictureKind::Whole, {38, 38}, 200, 288, room, {{114, 114}, 3}},
      {PictureKind::Whole, {38, 38}, 200, 192, {75, 200}, {{38, 38}, 1}},  // 2x does not fit
      {PictureKind::Whole, {600, 600}, 200, 288, {1300, 1300}, {{1200, 1200}, 2}},
      {PictureKind::Whole, {4096, 4096}, 200, 96, room, {{1264, 900}, 1}},  // cropped
      {PictureKind::Frames, {22, 220}, 200, 96, room, {{22, 22}, 1}},
      {PictureKind::Frames, {22, 220}, 200, 192, room, {{44, 44}, 2}},
      {PictureKind::Frames, {44, 22}, 200, 96, room, {{44, 22}, 1}},  // shorter than wide
      {PictureKind::Tiled, {10, 100}, 150, 96, room, {{150, 48}, 1}},
      {PictureKind::Tiled, {800, 30}, 150, 96, room, {{150, 30}, 1}},
      {PictureKind::Tiled, {10, 20}, 151, 192, room, {{150, 40}, 2}},
      {PictureKind::Tiled, {10, 100}, 300, 192, {201, 900}, {{200, 96}, 2}},
      {PictureKind::Whole, {38, 38}, 200, 96, {0, 900}, {}},
      {PictureKind::Whole, {0, 38}, 200, 96, room, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ViewOf(c.kind, c.picture, c.textWidth, c.dpi, c.room), c.view)
        << int(c.kind) << " " << c.picture.width << " " << c.dpi;
  }
}

// The room keeps the whole balloon on the screen, pointer rows, margins and
// text included.
TEST(BalloonPicture, TheRoomIsTheScreenLessTheRestOfTheBalloon) {
  const BalloonMetrics m = MetricsFor(96);
  const Size text{200, 39};
  const Size room = PictureRoom({1280, 1024}, text, m);
  EXPECT_EQ(room, (Size{1264, 953}));
  const Rect window = TipWindowRect({0, 0, text.width, text.height}, m, room);
  EXPECT_EQ(window.Width(), 1280);
  EXPECT_EQ(window.Height(), 1024);
  EXPECT_TRUE(PictureRoom({10, 40}, text, m).Empty());
}

TEST(BalloonPicture, ASpinningLogoPlaysItsSquareFramesTopToBottomInALoop) {
  const struct {
    PictureKind kind;
    Size picture;
    int frames;
  } counts[] = {{PictureKind::Frames, {22, 220}, 10}, {PictureKind::Frames, {22, 230}, 10},
                {PictureKind::Frames, {38, 38}, 1},   {PictureKind::Frames, {44, 22}, 1},
                {PictureKind::Whole, {22, 220}, 1},   {PictureKind::Tiled, {22, 220}, 1}};
  for (const auto& c : counts)
    EXPECT_EQ(FrameCount(c.kind, c.picture), c.frames) << c.picture.height;
  const struct {
    int frames;
    std::uint64_t ms;
    int frame;
  } ticks[] = {{10, 0, 0},    {10, 99, 0}, {10, 100, 1}, {10, 999, 9},
               {10, 1000, 0}, {4, 250, 2}, {4, 420, 0},  {1, 12345, 0}};
  for (const auto& t : ticks) EXPECT_EQ(FrameAt(t.frames, t.ms), t.frame) << t.ms;
}

TEST(BalloonPicture, BlitsCopyTheFrameOrTheTilesIntoThePicturesPlace) {
  const Rect at{8, 50, 0, 0};  // only its corner counts
  const struct {
    PictureKind kind;
    Size picture;
    PictureView view;
    int frame;
    std::vector<Blit> blits;
  } cases[] = {
      {PictureKind::Whole, {38, 38}, {{38, 38}, 1}, 0, {{{0, 0, 38, 38}, {8, 50, 46, 88}}}},
      {PictureKind::Whole,
       {4096, 4096},
       {{1264, 900}, 1},
       0,
       {{{0, 0, 1264, 900}, {8, 50, 1272, 950}}}},
      {PictureKind::Frames, {22, 88}, {{44, 44}, 2}, 3, {{{0, 66, 22, 88}, {8, 50, 52, 94}}}},
      {PictureKind::Frames, {22, 88}, {{22, 22}, 1}, 7, {{{0, 66, 22, 88}, {8, 50, 30, 72}}}},
      {PictureKind::Tiled,
       {40, 30},
       {{100, 30}, 1},
       0,
       {{{0, 0, 40, 30}, {8, 50, 48, 80}},
        {{0, 0, 40, 30}, {48, 50, 88, 80}},
        {{0, 0, 20, 30}, {88, 50, 108, 80}}}},
      {PictureKind::Tiled,
       {40, 30},
       {{100, 60}, 2},
       0,
       {{{0, 0, 40, 30}, {8, 50, 88, 110}}, {{0, 0, 10, 30}, {88, 50, 108, 110}}}},
      {PictureKind::Whole, {38, 38}, {}, 0, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PictureBlits(c.kind, c.picture, c.view, at, c.frame), c.blits)
        << int(c.kind) << " " << c.picture.width;
  }
}

}  // namespace
}  // namespace tavlin::tooltip
