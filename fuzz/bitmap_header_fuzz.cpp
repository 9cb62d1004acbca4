// Feeds arbitrary bytes through the picture check as the first bytes of a file
// whose size is taken from the input too, so that heads longer and far shorter
// than their file are both covered, and the same bytes as a path. Nothing may
// crash or read past a buffer, a bitmap must have a real size, every line must
// stay one line of the tip, and a picture a balloon may show must be within the
// limits and be drawn from inside itself into its own place (at a DPI, text
// width and room taken from the input too).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "shell/bitmap_header.h"
#include "shell/picture_check.h"
#include "tooltip/balloon.h"

namespace {

using namespace tavlin::shell;

void Expect(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first 8 bytes say how large the file is; the rest are its first bytes.
  std::uint64_t said = 0;
  for (std::size_t i = 0; i < 8 && i < size; ++i) said = said << 8 | data[i];
  const std::size_t skip = size < 8 ? size : 8;
  const auto bytes = std::as_bytes(std::span(data + skip, size - skip));
  const auto head = bytes.first(bytes.size() < kBitmapHeadBytes ? bytes.size() : kBitmapHeadBytes);
  // Mostly a file about as long as its bytes, sometimes any size at all.
  const std::uint64_t fileSize = (said >> 63) ? said : bytes.size() + (said & 0xFFFF);

  const BitmapHeader h = ReadBitmapHeader(head, fileSize);
  if (h.verdict == BitmapVerdict::Bitmap) {
    Expect(h.width > 0 && h.height > 0);
    Expect(fileSize >= 14 + std::uint64_t{h.infoSize});
    Expect(head.size() >= 2 && head[0] == std::byte{'B'} && head[1] == std::byte{'M'});
  }
  if (h.verdict == BitmapVerdict::Empty) Expect(fileSize == 0);

  // What a balloon may show of it, and how: a picture within the limits, its
  // every copy inside the picture and inside its place in the balloon.
  const Preview preview = PreviewOf({FileFound::File, fileSize, {head.begin(), head.end()}});
  if (preview.verdict == PreviewVerdict::Show) {
    Expect(h.verdict == BitmapVerdict::Bitmap && !h.topDown && fileSize <= kPreviewMaxBytes);
    Expect(preview.width == h.width && preview.height == h.height);
    Expect(preview.width > 0 && preview.width <= kPreviewMaxEdge && preview.height > 0 &&
           preview.height <= kPreviewMaxEdge);
    using namespace tavlin::tooltip;
    const Size picture{preview.width, preview.height};
    const int dpi = static_cast<int>(said >> 8 & 0x3FF),
              textWidth = static_cast<int>(said >> 20 & 0x7FF);
    const Size room{static_cast<int>(said >> 32 & 0x1FFF), static_cast<int>(said >> 45 & 0x1FFF)};
    for (const PictureKind kind : {PictureKind::Whole, PictureKind::Frames, PictureKind::Tiled}) {
      const PictureView view = ViewOf(kind, picture, textWidth, dpi, room);
      if (view.area.Empty()) continue;
      Expect(view.zoom >= 1 && view.area.width <= room.width && view.area.height <= room.height);
      const int frames = FrameCount(kind, picture);
      const int frame = FrameAt(frames, said);
      Expect(frame >= 0 && frame < frames);
      const Rect at{3, 5, 3 + view.area.width, 5 + view.area.height};
      for (const Blit& b : PictureBlits(kind, picture, view, at, frame)) {
        Expect(b.from.left >= 0 && b.from.top >= 0 && b.from.right <= picture.width &&
               b.from.bottom <= picture.height && b.from.Width() > 0 && b.from.Height() > 0);
        Expect(b.to.left >= at.left && b.to.top >= at.top && b.to.right <= at.right &&
               b.to.bottom <= at.bottom);
        Expect(b.to.Width() == b.from.Width() * view.zoom &&
               b.to.Height() == b.from.Height() * view.zoom);
      }
    }
  }

  for (const PictureRole role :
       {PictureRole::Skin, PictureRole::SmallSpinning, PictureRole::LargeSpinning,
        PictureRole::SmallStatic, PictureRole::LargeStatic}) {
    const FileProbe probe{FileFound::File, fileSize, {head.begin(), head.end()}};
    const std::wstring line = PictureLine(role, probe);
    Expect(line.rfind(L"Picture file: ", 0) == 0);
    Expect(line.find_first_of(L"\r\n|") == std::wstring::npos);
  }

  // The same bytes as a path typed into a box, two bytes to a character.
  std::wstring path;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    path += static_cast<wchar_t>(std::to_integer<unsigned>(bytes[i]) |
                                 std::to_integer<unsigned>(bytes[i + 1]) << 8);
  (void)ShapeOfPath(path);
  return 0;
}
