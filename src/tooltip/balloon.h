// Where a balloon tip goes and what shape it has: plain integer arithmetic on
// the cursor position, the measured text and the window's client size. The
// tooltip window procedure feeds these the platform's numbers and draws what
// they return.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/pictures.h"

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

struct Size {
  int width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Size&) const = default;
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
// A picture of the given size (none when empty) goes below the text, a margin
// apart, and widens the window where it is wider than the text.
// The balloon is never pulled back on-screen: it always hangs below and to
// the right of the cursor.
Rect TipWindowRect(const Rect& measuredText, const BalloonMetrics& m, Size picture = {});

// The balloon inside a client area of width by height pixels, sized by
// TipWindowRect for a picture of the given size (none when empty).
struct BalloonShape {
  Rect body;                     // the rounded rectangle, below the pointer's rows
  int ellipse;                   // corner ellipse, both ways
  std::array<Point, 3> pointer;  // tip, left foot, right foot
  Rect text;                     // where the text is drawn
  int frame;                     // outline stroke
  Rect picture;                  // where the picture goes; empty without one
};
BalloonShape BalloonGeometry(int width, int height, const BalloonMetrics& m, Size picture = {});

// ---- the picture a picture box's balloon shows ------------------------------

// How each picture is shown: a static logo whole, a spinning logo one square
// frame of its vertical strip at a time, the toolbar background tiled across
// a band as wide as the text.
enum class PictureKind { Whole, Frames, Tiled };
PictureKind PictureKindOf(PictureRole role);

// Each pixel of a picture becomes zoom by zoom pixels of the screen: the whole
// part of DPI / 96, so that pixels stay square and sharp (1 up to 191 DPI).
int PictureZoom(int dpi);

// The band of the toolbar background: at most this many of its top rows, as
// the toolbar shows them (at 96 DPI).
inline constexpr int kSkinBandRows = 48;
// A spinning logo shows its next frame this often, looping for as long as the
// balloon shows.
inline constexpr int kFrameMs = 100;

// What part of the picture shows, and how large, in a balloon whose text is
// textWidth pixels wide, at a DPI, with at most `room` pixels to spare.
// A picture larger than the room loses its zoom first, then is cropped at the
// right and bottom; it is never squeezed. Empty area: no picture.
struct PictureView {
  Size area;     // in the balloon, in screen pixels
  int zoom = 1;  // screen pixels per picture pixel, each way
  bool operator==(const PictureView&) const = default;
};
PictureView ViewOf(PictureKind kind, Size picture, int textWidth, int dpi, Size room);

// The room a picture has: the balloon with it must fit on a screen of the
// given size, beside its margins and a text of the given size.
Size PictureRoom(Size screen, Size text, const BalloonMetrics& m);

// The frames of a spinning logo: squares as wide as the strip, top to bottom
// (a strip shorter than it is wide is one frame). Every other picture has one.
int FrameCount(PictureKind kind, Size picture);
// The frame that shows `elapsedMs` after the balloon appeared.
int FrameAt(int frames, std::uint64_t elapsedMs);

// One copy from the picture into the balloon: `from` in picture pixels, `to`
// in the balloon's client pixels, `zoom` times as large.
struct Blit {
  Rect from, to;
  bool operator==(const Blit&) const = default;
};
// The copies that draw frame `frame` of the picture into `at` (the shape's
// picture rectangle, view.area large).
std::vector<Blit> PictureBlits(PictureKind kind, Size picture, const PictureView& view,
                               const Rect& at, int frame);

}  // namespace tavlin::tooltip
