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

// A bitmap with real pixels: `rgb` holds width x height colours 0xRRGGBB, the
// top row first. At 1, 4 and 8 bits a colour table holds the colours in the
// order they first appear (there must be few enough); at 24 and 32 bits each
// pixel holds its own. Rows run bottom-up unless topDown; rle8 stores an 8-bit
// picture in runs of one colour.
struct PaintedLayout {
  int width = 1, height = 1;
  std::uint16_t bits = 24;
  bool topDown = false;
  bool rle8 = false;
};

// width x height colours 0xRRGGBB, top row first: `colours` of them in a
// pattern with runs of three, or (0) a different colour at nearly every pixel.
inline std::vector<std::uint32_t> PatternColours(int width, int height, int colours,
                                                 std::uint32_t seed = 0) {
  std::vector<std::uint32_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t n = colours ? static_cast<std::uint32_t>((x / 3 + 2 * y) % colours)
                                      : static_cast<std::uint32_t>(x * 37 + y * 1031);
      rgb.push_back((n * 0x9E3779u + seed) & 0xFFFFFF);
    }
  return rgb;
}

inline std::vector<std::byte> PaintedBitmapBytes(const PaintedLayout& s,
                                                 const std::vector<std::uint32_t>& rgb) {
  std::vector<std::uint32_t> table;
  std::vector<std::uint32_t> value(rgb);  // what each pixel stores: a colour or its index
  if (s.bits <= 8) {
    for (std::uint32_t& v : value) {
      const auto at = std::find(table.begin(), table.end(), v) - table.begin();
      if (at == std::ssize(table)) table.push_back(v);
      v = static_cast<std::uint32_t>(at);
    }
    table.resize(std::size_t{1} << s.bits);
  }
  const auto pixel = [&](int x, int y) { return value[std::size_t(y) * s.width + x]; };
  std::vector<std::byte> rows;
  const auto put = [&rows](std::uint32_t b) { rows.push_back(static_cast<std::byte>(b & 0xFF)); };
  const std::size_t stride = (std::size_t(s.width) * s.bits + 31) / 32 * 4;
  for (int r = 0; r < s.height; ++r) {
    const int y = s.topDown ? r : s.height - 1 - r;  // the picture row stored r-th
    if (s.rle8) {
      for (int x = 0; x < s.width;) {
        int n = 1;
        while (x + n < s.width && n < 255 && pixel(x + n, y) == pixel(x, y)) ++n;
        put(n);
        put(pixel(x, y));
        x += n;
      }
      put(0);  // end of the line
      put(0);
      continue;
    }
    std::vector<std::byte> row(stride);
    for (int x = 0; x < s.width; ++x) {
      const std::uint32_t v = pixel(x, y);
      switch (s.bits) {
        case 1:
          row[x / 8] |= static_cast<std::byte>(v << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<std::byte>(v << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = static_cast<std::byte>(v);
          break;
        default:  // blue, green, red, and at 32 bits a fourth byte left 0
          for (int c = 0; c < 3; ++c)
            row[std::size_t(x) * (s.bits / 8) + c] = static_cast<std::byte>(v >> (8 * c));
      }
    }
    rows.insert(rows.end(), row.begin(), row.end());
  }
  if (s.rle8) {
    put(0);  // end of the picture
    put(1);
  }
  // The headers as BitmapBytes writes them, then the sizes, the table and the rows.
  const std::size_t offset = 14 + 40 + table.size() * 4;
  std::vector<std::byte> out = BitmapBytes({.width = s.width,
                                            .height = s.topDown ? -s.height : s.height,
                                            .bits = s.bits,
                                            .compression = s.rle8 ? 1u : 0u,
                                            .pixelOffset = std::int64_t(offset)});
  out.resize(offset);
  PutLe(out, 2, offset + rows.size(), 4);
  PutLe(out, 34, rows.size(), 4);
  PutLe(out, 46, table.size(), 4);
  for (std::size_t i = 0; i < table.size(); ++i) PutLe(out, 54 + 4 * i, table[i], 3);  // B, G, R
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

}  // namespace tavlin::testing
