#include "shell/bitmap_header.h"

#include <algorithm>
#include <limits>

namespace tavlin::shell {
namespace {

// Little-endian fields; the caller has checked that the bytes are there.
std::uint32_t U16(std::span<const std::byte> b, std::size_t at) {
  return std::to_integer<std::uint32_t>(b[at]) | std::to_integer<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t U32(std::span<const std::byte> b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}
std::int32_t I32(std::span<const std::byte> b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

bool KnownInfoSize(std::uint32_t size) {
  switch (size) {
    case kCoreHeader:
    case kInfoHeader:
    case 52:   // BITMAPV2INFOHEADER: with the red, green and blue masks
    case 56:   // BITMAPV3INFOHEADER: and the alpha mask
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      return true;
    default:
      return false;  // OS/2 2.x (16 or 64 bytes) and anything else
  }
}

// The pixel formats Windows draws from a file: colour depth with compression.
bool DrawableFormat(std::uint32_t infoSize, std::uint32_t bits, std::uint32_t compression,
                    bool topDown) {
  if (infoSize == kCoreHeader) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
  switch (compression) {
    case kBiRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBiRle8:
      return bits == 8 && !topDown;  // compressed rows cannot run top-down
    case kBiRle4:
      return bits == 4 && !topDown;
    case kBiBitfields:
      return bits == 16 || bits == 32;
    default:
      return false;  // JPEG or PNG inside, or a code no Windows reader knows
  }
}

}  // namespace

BitmapHeader ReadBitmapHeader(std::span<const std::byte> head, std::uint64_t fileSize) {
  BitmapHeader h;
  if (fileSize == 0) {
    h.verdict = BitmapVerdict::Empty;
    return h;
  }
  // Never trust more bytes than the file is said to hold.
  head = head.first(static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), fileSize)));
  if (head.size() < 2 || head[0] != std::byte{'B'} || head[1] != std::byte{'M'}) return h;

  h.verdict = BitmapVerdict::Truncated;
  if (head.size() < 14 + 4) return h;
  const std::uint32_t infoSize = U32(head, 14);
  if (!KnownInfoSize(infoSize)) {
    h.verdict = BitmapVerdict::NotBitmap;
    return h;
  }
  if (head.size() < 14 + std::min(infoSize, kInfoHeader)) return h;

  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bits = 0, compression = kBiRgb;
  if (infoSize == kCoreHeader) {
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    bits = U16(head, 24);
  } else {
    width = I32(head, 18);
    height = I32(head, 22);
    planes = U16(head, 26);
    bits = U16(head, 28);
    compression = U32(head, 30);
  }
  const bool topDown = height < 0;
  if (planes != 1 || width <= 0 || height == 0 ||
      !DrawableFormat(infoSize, bits, compression, topDown)) {
    h.verdict = BitmapVerdict::NotBitmap;
    return h;
  }
  h.width = width;
  h.height = topDown ? -height : height;  // 64 bits: even the most negative height turns
  h.infoSize = infoSize;
  h.bitsPerPixel = static_cast<std::uint16_t>(bits);
  h.compression = compression;
  h.topDown = topDown;

  // The headers must be whole, and the pixels start where the file header says
  // (or, where it says something impossible, right after the headers).
  const std::uint64_t headers = 14 + std::uint64_t{infoSize};
  const std::uint64_t pixels = std::max<std::uint64_t>(U32(head, 10), headers);
  if (fileSize < pixels) return h;
  if (compression == kBiRgb || compression == kBiBitfields) {
    // Uncompressed rows are padded to whole 32-bit words; all of them must fit.
    const std::uint64_t stride = (static_cast<std::uint64_t>(h.width) * bits + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(h.height);
    if (rows > (std::numeric_limits<std::uint64_t>::max() - pixels) / stride) return h;
    if (fileSize < pixels + stride * rows) return h;
  }
  h.verdict = BitmapVerdict::Bitmap;
  return h;
}

}  // namespace tavlin::shell
