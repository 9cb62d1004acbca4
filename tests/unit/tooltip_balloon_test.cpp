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
