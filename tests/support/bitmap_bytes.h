// Builds .bmp file bytes for tests: a file header and an info header of any
// layout, with the pixel rows the header asks for (or fewer, to cut a file short).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavlin::testing {

struct BitmapLayout {
  std::int32_t width = 1, height = 1;  // a negative height runs top-down
  std::uint16_t bits = 24;
  std::uint32_t infoSize = 40;  // 12 for the oldest (core) layout
  std::uint32_t compression = 0;
  std::uint16_t planes = 1;
  std::int64_t pixelOffset = -1;  // -1: right after the headers
  std::int64_t extraBytes = 0;    // added to (or, negative, taken from) the pixel rows
};

inline void PutLe(std::vector<std::byte>& out, std::size_t at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

inline std::vector<std::byte> BitmapBytes(const BitmapLayout& s) {
  const std::uint64_t headers = 14 + std::uint64_t{s.infoSize};
  const std::uint64_t offset = s.pixelOffset < 0 ? headers : std::uint64_t(s.pixelOffset);
  const std::uint64_t rows = s.height < 0 ? -std::int64_t{s.height} : s.height;
  const std::uint64_t stride = (std::uint64_t(s.width < 0 ? 0 : s.width) * s.bits + 31) / 32 * 4;
  const std::int64_t size = std::int64_t(std::max(offset, headers) + stride * rows) + s.extraBytes;
  std::vector<std::byte> out(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
  if (out.size() < headers) out.resize(headers);  // the headers are always written whole
  out[0] = std::byte{'B'};
  out[1] = std::byte{'M'};
  PutLe(out, 2, out.size(), 4);
  PutLe(out, 10, offset, 4);
  PutLe(out, 14, s.infoSize, 4);
  if (s.infoSize == 12) {
    PutLe(out, 18, static_cast<std::uint16_t>(s.width), 2);
    PutLe(out, 20, static_cast<std::uint16_t>(s.height), 2);
    PutLe(out, 22, s.planes, 2);
    PutLe(out, 24, s.bits, 2);
  } else if (s.infoSize >= 40) {
    PutLe(out, 18, static_cast<std::uint32_t>(s.width), 4);
    PutLe(out, 22, static_cast<std::uint32_t>(s.height), 4);
    PutLe(out, 26, s.planes, 2);
    PutLe(out, 28, s.bits, 2);
    PutLe(out, 30, s.compression, 4);
  }
  out.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
  return out;
}

}  // namespace tavlin::testing
