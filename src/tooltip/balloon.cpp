#include "tooltip/balloon.h"

#include <algorithm>

namespace tavlin::tooltip {

int ScaleForDpi(int pixelsAt96, int dpi) {
  if (dpi <= 0) dpi = 96;
  const long long scaled = static_cast<long long>(pixelsAt96) * dpi;
  const long long half = scaled >= 0 ? 48 : -48;
  return static_cast<int>((scaled + half) / 96);
}

BalloonMetrics MetricsFor(int dpi) {
  const auto s = [dpi](int px) { return ScaleForDpi(px, dpi); };
  return BalloonMetrics{
      .fontHeight = s(13),
      .cursorDx = s(-2),
      .cursorDy = s(20),
      .pointerInset = s(8),
      .pointerHeight = s(8),
      .pointerWidth = s(8),
      .ellipse = s(15),
      .margin = s(8),
      .frame = s(1),
  };
}

Point TipOrigin(Point cursor, const BalloonMetrics& m) {
  return {cursor.x + m.cursorDx, cursor.y + m.cursorDy};
}

Point TipOriginUnder(const Rect& control, const BalloonMetrics& m) {
  const int in = std::min(2 * m.pointerInset, control.Width() / 2);
  return {control.left + in - m.pointerInset, control.bottom};
}

Rect TipWindowRect(const Rect& measuredText, const BalloonMetrics& m) {
  // Text of width w and height h: margin + w + margin across; pointer rows,
  // margin, h and margin down.
  return {measuredText.left, measuredText.top, measuredText.right + 2 * m.margin,
          measuredText.bottom + m.pointerHeight + 2 * m.margin};
}

BalloonShape BalloonGeometry(int width, int height, const BalloonMetrics& m) {
  const Rect client{0, 0, width, height};
  BalloonShape shape{};
  // Each point follows from the one before: down the vertical left side, then
  // along the body's top edge to the right.
  shape.pointer[0] = {client.left + m.pointerInset, client.top};
  shape.pointer[1] = {shape.pointer[0].x, shape.pointer[0].y + m.pointerHeight};
  shape.pointer[2] = {shape.pointer[1].x + m.pointerWidth, shape.pointer[1].y};
  shape.body = {client.left, client.top + m.pointerHeight, client.right, client.bottom};
  shape.ellipse = m.ellipse;
  shape.text = {client.left + m.margin, shape.body.top + m.margin, client.right - m.margin,
                client.bottom - m.margin};
  shape.frame = m.frame;
  return shape;
}

}  // namespace tavlin::tooltip
