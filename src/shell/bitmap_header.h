// What the headers at the start of a .bmp file say. Only the first bytes of
// the file are looked at (the file header and the start of the info header),
// never the pixels; the file's size says whether the pixel rows can all be there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavlin::shell {

// The 14-byte file header and the first 40 bytes of the info header: enough for
// every header layout Windows reads (the larger ones begin like the 40-byte one).
inline constexpr std::size_t kBitmapHeadBytes = 14 + 40;

// Info header sizes: BITMAPCOREHEADER, BITMAPINFOHEADER, the two Photoshop
// extensions of it, BITMAPV4HEADER and BITMAPV5HEADER.
inline constexpr std::uint32_t kCoreHeader = 12;
inline constexpr std::uint32_t kInfoHeader = 40;

// Compression codes of the info header.
inline constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4,
                               kBiPng = 5;

enum class BitmapVerdict {
  Bitmap,     // headers a Windows bitmap reader accepts
  Empty,      // a file of no bytes
  NotBitmap,  // no "BM" signature, or headers no Windows bitmap has
  Truncated,  // a bitmap whose headers or pixel rows run past the end of the file
};

struct BitmapHeader {
  BitmapVerdict verdict = BitmapVerdict::NotBitmap;
  // When verdict is Bitmap or (with whole headers) Truncated:
  std::int64_t width = 0;   // pixels
  std::int64_t height = 0;  // pixels, positive whichever way the rows run
  std::uint32_t infoSize = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t compression = kBiRgb;
  bool topDown = false;
};

// Reads the headers from `head`, the first bytes of a file of `fileSize` bytes
// (`head` may be shorter than kBitmapHeadBytes when the file is).
BitmapHeader ReadBitmapHeader(std::span<const std::byte> head, std::uint64_t fileSize);

}  // namespace tavlin::shell
