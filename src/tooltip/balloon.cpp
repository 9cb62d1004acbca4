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

namespace {

// What a picture adds below the text: its height and a margin under it.
int PictureBand(Size picture, const BalloonMetrics& m) {
  return picture.Empty() ? 0 : picture.height + m.margin;
}

}  // namespace

Rect TipWindowRect(const Rect& measuredText, const BalloonMetrics& m, Size picture) {
  // Text of width w and height h: margin + w + margin across; pointer rows,
  // margin, h and margin down. A picture adds its height and a margin below,
  // and its width where it is the wider.
  const int wide =
      picture.Empty() ? measuredText.Width() : std::max(measuredText.Width(), picture.width);
  const int below = PictureBand(picture, m);
  return {measuredText.left, measuredText.top, measuredText.left + wide + 2 * m.margin,
          measuredText.bottom + m.pointerHeight + 2 * m.margin + below};
}

BalloonShape BalloonGeometry(int width, int height, const BalloonMetrics& m, Size picture) {
  const Rect client{0, 0, width, height};
  BalloonShape shape{};
  // Each point follows from the one before: down the vertical left side, then
  // along the body's top edge to the right.
  shape.pointer[0] = {client.left + m.pointerInset, client.top};
  shape.pointer[1] = {shape.pointer[0].x, shape.pointer[0].y + m.pointerHeight};
  shape.pointer[2] = {shape.pointer[1].x + m.pointerWidth, shape.pointer[1].y};
  shape.body = {client.left, client.top + m.pointerHeight, client.right, client.bottom};
  shape.ellipse = m.ellipse;
  const int below = PictureBand(picture, m);
  shape.text = {client.left + m.margin, shape.body.top + m.margin, client.right - m.margin,
                client.bottom - m.margin - below};
  shape.frame = m.frame;
  if (!picture.Empty()) {
    const Point at{shape.text.left, shape.text.bottom + m.margin};
    shape.picture = {at.x, at.y, at.x + picture.width, at.y + picture.height};
  }
  return shape;
}

PictureKind PictureKindOf(PictureRole role) {
  return role == PictureRole::Skin ? PictureKind::Tiled
         : IsSpinning(role)        ? PictureKind::Frames
                                   : PictureKind::Whole;
}

int PictureZoom(int dpi) {
  return std::max(1, dpi / 96);
}

PictureView ViewOf(PictureKind kind, Size picture, int textWidth, int dpi, Size room) {
  if (picture.Empty() || room.Empty()) return {};
  // The part shown, in picture pixels; a band's width follows the zoom.
  Size shown = picture;
  if (kind == PictureKind::Frames) shown.height = std::min(picture.width, picture.height);
  if (kind == PictureKind::Tiled) shown.height = std::min(picture.height, kSkinBandRows);
  // Too large for the room at its zoom: a smaller zoom, down to 1.
  int fit = room.height / shown.height;
  if (kind != PictureKind::Tiled) fit = std::min(fit, room.width / shown.width);
  const int zoom = std::clamp(fit, 1, PictureZoom(dpi));
  if (kind == PictureKind::Tiled) shown.width = std::max(1, textWidth / zoom);
  // Still too large: cropped to whole picture pixels.
  const auto crop = [zoom](int pixels, int roomFor) {
    return static_cast<int>(
        std::min<std::int64_t>(std::int64_t{pixels} * zoom, roomFor / zoom * zoom));
  };
  const Size area{crop(shown.width, room.width), crop(shown.height, room.height)};
  if (area.Empty()) return {};
  return {area, zoom};
}

Size PictureRoom(Size screen, Size text, const BalloonMetrics& m) {
  return {std::max(0, screen.width - 2 * m.margin),
          std::max(0, screen.height - m.pointerHeight - 3 * m.margin - text.height)};
}

int FrameCount(PictureKind kind, Size picture) {
  if (kind != PictureKind::Frames || picture.width <= 0 || picture.height < picture.width) return 1;
  return picture.height / picture.width;
}

int FrameAt(int frames, std::uint64_t elapsedMs) {
  if (frames <= 1) return 0;
  return static_cast<int>(elapsedMs / kFrameMs % static_cast<std::uint64_t>(frames));
}

std::vector<Blit> PictureBlits(PictureKind kind, Size picture, const PictureView& view,
                               const Rect& at, int frame) {
  std::vector<Blit> blits;
  if (view.area.Empty() || picture.Empty() || view.zoom < 1) return blits;
  const int zoom = view.zoom, rows = view.area.height / zoom;
  int top = 0;  // the first picture row shown
  if (kind == PictureKind::Frames)
    top = std::clamp(frame, 0, FrameCount(kind, picture) - 1) * picture.width;
  if (kind != PictureKind::Tiled) {
    blits.push_back({{0, top, view.area.width / zoom, top + rows},
                     {at.left, at.top, at.left + view.area.width, at.top + view.area.height}});
    return blits;
  }
  // Tiles side by side from the left, the last one cut at the band's end.
  const std::int64_t step = std::int64_t{picture.width} * zoom;
  for (std::int64_t x = 0; x < view.area.width; x += step) {
    const int wide = static_cast<int>(std::min<std::int64_t>(step, view.area.width - x));
    const int left = at.left + static_cast<int>(x);
    blits.push_back(
        {{0, 0, wide / zoom, rows}, {left, at.top, left + wide, at.top + view.area.height}});
  }
  return blits;
}

}  // namespace tavlin::tooltip
