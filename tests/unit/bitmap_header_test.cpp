// Reading a .bmp file's headers from its first bytes: which files are Windows
// bitmaps, their size, and the files that are cut short or are something else.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "shell/bitmap_header.h"
#include "support/bitmap_bytes.h"

namespace tavlin::testing {
namespace {

using shell::BitmapVerdict;

// The headers as the picture check reads them: at most the first 54 bytes.
shell::BitmapHeader Read(const std::vector<std::byte>& file) {
  const std::size_t n = std::min(file.size(), shell::kBitmapHeadBytes);
  return shell::ReadBitmapHeader(std::span(file).first(n), file.size());
}

TEST(BitmapHeader, WindowsBitmapsOfEveryLayoutGiveTheirSize) {
  const struct {
    const char* what;
    BitmapLayout layout;
    std::int64_t width, height;
  } cases[] = {
      {"24-bit, info header", {.width = 38, .height = 38}, 38, 38},
      {"a strip of ten frames", {.width = 22, .height = 220, .bits = 8}, 22, 220},
      {"top-down rows", {.width = 22, .height = -22, .bits = 32}, 22, 22},
      {"oldest core header", {.width = 38, .height = 76, .bits = 4, .infoSize = 12}, 38, 76},
      {"V4 header", {.width = 5, .height = 3, .bits = 16, .infoSize = 108, .compression = 3}, 5, 3},
      {"V5 header", {.width = 300, .height = 30, .bits = 32, .infoSize = 124}, 300, 30},
      {"V2 header", {.width = 3, .height = 3, .bits = 16, .infoSize = 52, .compression = 3}, 3, 3},
      {"32-bit bit fields",
       {.width = 3, .height = 2, .bits = 32, .infoSize = 108, .compression = 3},
       3,
       2},
      {"Photoshop masks", {.width = 2, .height = 2, .bits = 32, .infoSize = 56}, 2, 2},
      {"monochrome", {.width = 33, .height = 1, .bits = 1}, 33, 1},
      {"run-length 8", {.width = 9, .height = 9, .bits = 8, .compression = 1}, 9, 9},
      {"run-length 4", {.width = 9, .height = 9, .bits = 4, .compression = 2}, 9, 9},
      {"pixels after a gap", {.width = 4, .height = 4, .pixelOffset = 200}, 4, 4},
      {"a wrong pixel offset", {.width = 4, .height = 4, .pixelOffset = 3}, 4, 4},
  };
  for (const auto& c : cases) {
    const auto h = Read(BitmapBytes(c.layout));
    EXPECT_EQ(h.verdict, BitmapVerdict::Bitmap) << c.what;
    EXPECT_EQ(h.width, c.width) << c.what;
    EXPECT_EQ(h.height, c.height) << c.what;
  }
  EXPECT_TRUE(Read(BitmapBytes({.width = 2, .height = -2})).topDown);
}

TEST(BitmapHeader, HeadersNoWindowsBitmapHasAreNotBitmaps) {
  const struct {
    const char* what;
    BitmapLayout layout;
  } cases[] = {
      {"OS/2 2.x header", {.infoSize = 64}},
      {"unknown header size", {.infoSize = 41}},
      {"no planes", {.planes = 0}},
      {"two planes", {.planes = 2}},
      {"no width", {.width = 0}},
      {"negative width", {.width = -5}},
      {"no height", {.height = 0}},
      {"7 bits a pixel", {.bits = 7}},
      {"16 bits in the core header", {.bits = 16, .infoSize = 12}},
      {"run-length 8 at 4 bits", {.bits = 4, .compression = 1}},
      {"run-length rows top-down", {.height = -4, .bits = 8, .compression = 1}},
      {"run-length 4 rows top-down", {.height = -4, .bits = 4, .compression = 2}},
      {"bit fields at 24 bits", {.bits = 24, .compression = 3}},
      {"a JPEG inside", {.bits = 0, .compression = 4}},
      {"a PNG inside", {.bits = 0, .compression = 5}},
      {"an unknown compression", {.compression = 77}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Read(BitmapBytes(c.layout)).verdict, BitmapVerdict::NotBitmap) << c.what;

  auto text = [](const std::string& s) {
    std::vector<std::byte> out(s.size());
    std::memcpy(out.data(), s.data(), s.size());
    return out;
  };
  for (const char* other : {"GIF89a......", "\x89PNG\r\n\x1a\n", "B", "MB", "bm", "%PDF-1.4"})
    EXPECT_EQ(Read(text(other)).verdict, BitmapVerdict::NotBitmap) << other;
  EXPECT_EQ(Read({}).verdict, BitmapVerdict::Empty);
}

TEST(BitmapHeader, AFileShorterThanItsHeadersOrRowsIsTruncated) {
  const auto whole = BitmapBytes({.width = 38, .height = 380});
  EXPECT_EQ(Read(whole).verdict, BitmapVerdict::Bitmap);
  for (const std::size_t keep :
       {std::size_t{2}, std::size_t{17}, std::size_t{18}, std::size_t{53}, whole.size() - 1}) {
    const std::vector<std::byte> cut(whole.begin(), whole.begin() + keep);
    EXPECT_EQ(Read(cut).verdict, BitmapVerdict::Truncated) << keep << " bytes";
  }
  // The core header needs only 26 bytes, the rest of the 54 read is pixels.
  EXPECT_EQ(Read(BitmapBytes({.width = 1, .height = 1, .infoSize = 12})).verdict,
            BitmapVerdict::Bitmap);
  // Pixels said to start past the end of the file.
  auto far = BitmapBytes({.width = 4, .height = 4});
  PutLe(far, 10, 100000, 4);
  EXPECT_EQ(Read(far).verdict, BitmapVerdict::Truncated);
  // Pixels said to start inside the headers start after them, and must all be there.
  EXPECT_EQ(
      Read(BitmapBytes({.width = 4, .height = 4, .pixelOffset = 3, .extraBytes = -1})).verdict,
      BitmapVerdict::Truncated);
  // Run-length rows have no size to check beyond the start of the pixels.
  EXPECT_EQ(
      Read(BitmapBytes(
               {.width = 64, .height = 64, .bits = 8, .compression = 1, .extraBytes = -4096 + 2}))
          .verdict,
      BitmapVerdict::Bitmap);
}

TEST(BitmapHeader, HugeSizesAndStrayBytesNeverOverflow) {
  // Headers of a 2^31 - 1 square, 32 bits a pixel: far more pixels than any file holds.
  auto huge = BitmapBytes({.width = 1, .height = 1, .bits = 32});
  PutLe(huge, 18, std::numeric_limits<std::int32_t>::max(), 4);
  PutLe(huge, 22, std::numeric_limits<std::int32_t>::max(), 4);
  auto h = shell::ReadBitmapHeader(huge, huge.size());
  EXPECT_EQ(h.verdict, BitmapVerdict::Truncated);
  EXPECT_EQ(h.width, std::numeric_limits<std::int32_t>::max());
  // The largest rows of all still add up within 64 bits, for a file said to be that large.
  PutLe(huge, 22, 0x80000000u, 4);
  EXPECT_EQ(shell::ReadBitmapHeader(huge, std::numeric_limits<std::uint64_t>::max()).verdict,
            BitmapVerdict::Bitmap);
  // The most negative height turns into a positive one.
  h = shell::ReadBitmapHeader(huge, huge.size());
  EXPECT_EQ(h.height, std::int64_t{1} << 31);
  EXPECT_TRUE(h.topDown);
  // Bytes beyond the file's own size are not believed.
  const auto small = BitmapBytes({.width = 2, .height = 2});
  EXPECT_EQ(shell::ReadBitmapHeader(small, 20).verdict, BitmapVerdict::Truncated);
  EXPECT_EQ(shell::ReadBitmapHeader(small, 1).verdict, BitmapVerdict::NotBitmap) << "\"B\" alone";
}

}  // namespace
}  // namespace tavlin::testing
