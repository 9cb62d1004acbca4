// Where a balloon goes and what shape it has, as integers, at 96 DPI and scaled.
#include <gtest/gtest.h>

#include "tooltip/balloon.h"

namespace tavlin::tooltip {
namespace {

// The window a tip takes when the text measures width x height with the cursor
// at `cursor`, the way the tooltip window procedure asks for it.
Rect PlaceTip(Point cursor, int width, int height, int dpi) {
  const BalloonMetrics m = MetricsFor(dpi);
  const Point origin = TipOrigin(cursor, m);
  return TipWindowRect({origin.x, origin.y, origin.x + width, origin.y + height}, m);
}

TEST(BalloonScale, RoundsEachFigureToTheNearestPixel) {
  struct Case {
    int pixels, dpi, expected;
  };
  const Case cases[] = {
      {13, 96, 13},  {13, 120, 16}, {13, 144, 20}, {13, 192, 26},  // 16.25, 19.5
      {15, 120, 19}, {15, 144, 23}, {8, 120, 10},  {8, 144, 12},   // 18.75, 22.5
      {-2, 120, -3}, {-2, 144, -3}, {-2, 192, -4}, {20, 120, 25},  // -2.5 away from zero
      {1, 120, 1},   {1, 144, 2},   {0, 144, 0},   {13, 72, 10},   // 9.75
      {13, 0, 13},   {13, -96, 13},                                // no DPI: as at 96
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

TEST(BalloonScale, MetricsAtEachDpi) {
  struct Case {
    int dpi;
    BalloonMetrics m;
  };
  const Case cases[] = {
      {96, {13, -2, 20, 8, 8, 8, 15, 8, 1}},
      {120, {16, -3, 25, 10, 10, 10, 19, 10, 1}},
      {144, {20, -3, 30, 12, 12, 12, 23, 12, 2}},
      {192, {26, -4, 40, 16, 16, 16, 30, 16, 2}},
  };
  for (const Case& c : cases) {
    const BalloonMetrics m = MetricsFor(c.dpi);
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(m.fontHeight, c.m.fontHeight);
    EXPECT_EQ(m.cursorDx, c.m.cursorDx);
    EXPECT_EQ(m.cursorDy, c.m.cursorDy);
    EXPECT_EQ(m.pointerInset, c.m.pointerInset);
    EXPECT_EQ(m.pointerHeight, c.m.pointerHeight);
    EXPECT_EQ(m.pointerWidth, c.m.pointerWidth);
    EXPECT_EQ(m.ellipse, c.m.ellipse);
    EXPECT_EQ(m.margin, c.m.margin);
    EXPECT_EQ(m.frame, c.m.frame);
  }
}

TEST(TipPlacement, HangsBelowTheCursorSizedToTheText) {
  struct Case {
    Point cursor;
    int width, height, dpi;
    Rect expected;
  };
  const Case cases[] = {
      // One line of 120 x 13 with the cursor at (500, 300).
      {{500, 300}, 120, 13, 96, {498, 320, 634, 357}},
      // Two lines of 13 pixels: two text lines plus 24.
      {{500, 300}, 40, 26, 96, {498, 320, 554, 370}},
      {{0, 0}, 0, 13, 96, {-2, 20, 14, 57}},
      // Near the right and bottom edges of a 1280 x 1024 screen: still below
      // and to the right of the cursor, partly off-screen.
      {{1278, 1020}, 150, 26, 96, {1276, 1040, 1442, 1090}},
      // Scaled: offsets -3 / +30, margins 12, pointer rows 12.
      {{500, 300}, 180, 20, 144, {497, 330, 701, 386}},
  };
  for (const Case& c : cases) {
    const Rect r = PlaceTip(c.cursor, c.width, c.height, c.dpi);
    EXPECT_EQ(r, c.expected) << c.cursor.x << "," << c.cursor.y << " " << c.width << "x" << c.height
                             << " at " << c.dpi;
  }
  // The 96-DPI example in the caller's terms: left 498, top 320, 136 x 37.
  const Rect example = PlaceTip({500, 300}, 120, 13, 96);
  EXPECT_EQ(example.Width(), 136);
  EXPECT_EQ(example.Height(), 37);
}

TEST(BalloonGeometry, WorkedExampleAt96Dpi) {
  const BalloonShape s = BalloonGeometry(136, 37, MetricsFor(96));
  EXPECT_EQ(s.body, (Rect{0, 8, 136, 37}));
  EXPECT_EQ(s.pointer[0], (Point{8, 0}));
  EXPECT_EQ(s.pointer[1], (Point{8, 8}));
  EXPECT_EQ(s.pointer[2], (Point{16, 8}));
  EXPECT_EQ(s.text, (Rect{8, 16, 128, 29}));
  EXPECT_EQ(s.ellipse, 15);
  EXPECT_EQ(s.frame, 1);
}

TEST(BalloonGeometry, ScaledAt144Dpi) {
  const BalloonShape s = BalloonGeometry(204, 56, MetricsFor(144));
  EXPECT_EQ(s.body, (Rect{0, 12, 204, 56}));
  EXPECT_EQ(s.pointer[0], (Point{12, 0}));
  EXPECT_EQ(s.pointer[1], (Point{12, 12}));
  EXPECT_EQ(s.pointer[2], (Point{24, 12}));
  EXPECT_EQ(s.text, (Rect{12, 24, 192, 44}));
  EXPECT_EQ(s.ellipse, 23);
  EXPECT_EQ(s.frame, 2);
}

// For any text and DPI, the window sized by the placement rule gives back
// the measured text as the text rectangle, and the pointer sits where the
// cursor's hot spot says.
TEST(BalloonGeometry, SizedWindowFitsTheTextExactlyAtEveryDpi) {
  const Point cursor{640, 480};
  for (const int dpi : {96, 120, 144, 168, 192}) {
    for (const auto& [w, h] : {std::pair{0, 13}, {120, 13}, {233, 39}, {1, 1}, {400, 52}}) {
      SCOPED_TRACE(::testing::Message() << dpi << " dpi, " << w << "x" << h);
      const BalloonMetrics m = MetricsFor(dpi);
      const Rect window = PlaceTip(cursor, w, h, dpi);
      const BalloonShape s = BalloonGeometry(window.Width(), window.Height(), m);
      EXPECT_EQ(s.text.Width(), w);
      EXPECT_EQ(s.text.Height(), h);
      // The pointer tip, in screen terms, sits just right of and below the hot spot.
      EXPECT_EQ(window.left + s.pointer[0].x, cursor.x + m.cursorDx + m.pointerInset);
      EXPECT_EQ(window.top + s.pointer[0].y, cursor.y + m.cursorDy);
      // The pointer's feet stand on the body's top edge; its left side is
      // vertical and its long side runs at 45 degrees.
      EXPECT_EQ(s.pointer[0].y, 0);
      EXPECT_EQ(s.pointer[1].y, s.body.top);
      EXPECT_EQ(s.pointer[2].y, s.body.top);
      EXPECT_EQ(s.pointer[1].x, s.pointer[0].x);
      EXPECT_EQ(s.pointer[2].x - s.pointer[1].x, s.pointer[1].y - s.pointer[0].y);
      // The pointer starts right of the top-left corner's arc.
      EXPECT_GE(2 * s.pointer[1].x, s.ellipse);
      // The body fills the window below the pointer's rows.
      EXPECT_EQ(s.body, (Rect{0, m.pointerHeight, window.Width(), window.Height()}));
    }
  }
}

}  // namespace
}  // namespace tavlin::tooltip
