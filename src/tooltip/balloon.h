// Where a balloon tip goes and what shape it has: plain integer arithmetic on
// the cursor position, the measured text and the window's client size. The
// tooltip window procedure feeds these the platform's numbers and draws what
// they return.
#pragma once

#include <array>

namespace tavlin::tooltip {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// The balloon's figures in pixels at one DPI. They are drawn at 96 DPI and
// scaled by DPI / 96 elsewhere, so a tip stays readable on a large-font screen.
struct BalloonMetrics {
  int fontHeight;     // cell height of the Tahoma tip font
  int cursorDx;       // window left, from the cursor's hot spot
  int cursorDy;       // window top, from the cursor's hot spot
  int pointerInset;   // pointer tip's distance from the window's left edge
  int pointerHeight;  // rows above the body taken by the pointer alone
  int pointerWidth;   // width of the pointer's base on the body's top edge
  int ellipse;        // width and height of the ellipse that rounds the corners
  int margin;         // between the body's edges and the text, on every side
  int frame;          // outline stroke, wide and high
};

// A 96-DPI figure at another DPI, rounded to the nearest pixel (half away from
// zero). A DPI of 0 or less is taken as 96.
int ScaleForDpi(int pixelsAt96, int dpi);

BalloonMetrics MetricsFor(int dpi);

// Where the tip window goes before it is sized: just below the cursor, a little
// to its left, so that the pointer hangs under the hot spot.
Point TipOrigin(Point cursor, const BalloonMetrics& m);

// Where the tip window goes when the keyboard asks for a control's tip: the
// pointer's tip on the control's lower edge, near its left end (a little in,
// but never past the middle of a narrow control).
Point TipOriginUnder(const Rect& control, const BalloonMetrics& m);

// The whole tip window, given the text rectangle the platform measured with
// its left-top corner at the window origin: the text plus a margin on the
// left, right and bottom, and the pointer's rows and a margin above it.
// The balloon is never pulled back on-screen: it always hangs below and to
// the right of the cursor.
Rect TipWindowRect(const Rect& measuredText, const BalloonMetrics& m);

// The balloon inside a client area of width by height pixels.
struct BalloonShape {
  Rect body;                     // the rounded rectangle, below the pointer's rows
  int ellipse;                   // corner ellipse, both ways
  std::array<Point, 3> pointer;  // tip, left foot, right foot
  Rect text;                     // where the text is drawn
  int frame;                     // outline stroke
};
BalloonShape BalloonGeometry(int width, int height, const BalloonMetrics& m);

}  // namespace tavlin::tooltip
