// The line a picture box's tip gains: what each kind of path and file gives,
// the browser's sizes, and the paths that are never opened.
#include <gtest/gtest.h>

#include "shell/picture_check.h"
#include "support/bitmap_bytes.h"
#include "support/fakes.h"

namespace tavlin::testing {
namespace {

using shell::FileFound;
using shell::PathShape;
using shell::PictureRole;

std::wstring LineFor(PictureRole role, const BitmapLayout& layout) {
  const auto bytes = BitmapBytes(layout);
  std::vector<std::byte> head(bytes.begin(),
                              bytes.begin() + std::min(bytes.size(), shell::kBitmapHeadBytes));
  return shell::PictureLine(role, {FileFound::File, bytes.size(), head});
}

TEST(PictureCheck, ABitmapGivesItsSizeFramesAndWhatTheBrowserExpects) {
  const struct {
    PictureRole role;
    BitmapLayout layout;
    std::wstring_view line;
  } cases[] = {
      {PictureRole::SmallSpinning,
       {.width = 22, .height = 220},
       L"22 \u00d7 220 pixels, 10 frames"},
      {PictureRole::LargeSpinning, {.width = 38, .height = 38}, L"38 \u00d7 38 pixels, 1 frame"},
      {PictureRole::LargeSpinning, {.width = 38, .height = -76}, L"38 \u00d7 76 pixels, 2 frames"},
      {PictureRole::LargeSpinning,
       {.width = 40, .height = 400},
       L"40 \u00d7 400 pixels, 10 frames (IE expects 38 \u00d7 38 frames)"},
      {PictureRole::SmallSpinning,
       {.width = 22, .height = 230},
       L"22 \u00d7 230 pixels (not square frames)"},
      {PictureRole::SmallSpinning,
       {.width = 44, .height = 22},
       L"44 \u00d7 22 pixels (not square frames)"},
      {PictureRole::SmallStatic, {.width = 22, .height = 22}, L"22 \u00d7 22 pixels"},
      {PictureRole::SmallStatic,
       {.width = 22, .height = 23},
       L"22 \u00d7 23 pixels (IE expects 22 \u00d7 22)"},
      {PictureRole::LargeStatic,
       {.width = 22, .height = 22},
       L"22 \u00d7 22 pixels (IE expects 38 \u00d7 38)"},
      {PictureRole::Skin, {.width = 1024, .height = 3}, L"1024 \u00d7 3 pixels"},
      {PictureRole::Skin, {.width = 1, .height = 1, .infoSize = 12}, L"1 \u00d7 1 pixels"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineFor(c.role, c.layout), L"Picture file: " + std::wstring(c.line)) << int(c.role);
}

TEST(PictureCheck, EveryOtherFindingHasALineOfItsOwn) {
  const struct {
    FileFound found;
    std::wstring_view line;
  } cases[] = {
      {FileFound::Missing, L"not found"},
      {FileFound::Folder, L"a folder, not a file"},
      {FileFound::NotAFile, L"not a file"},
      {FileFound::NoAccess, L"cannot be read"},
      {FileFound::Unreadable, L"cannot be read"},
      {FileFound::TooLong, L"path too long"},
      {FileFound::Offline, L"not on this computer; not checked"},
      {FileFound::Network, L"on the network; not checked"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::PictureLine(PictureRole::Skin, {c.found, 0, {}}),
              L"Picture file: " + std::wstring(c.line));
  const auto text = std::vector<std::byte>(30, std::byte{'x'});
  EXPECT_EQ(shell::PictureLine(PictureRole::Skin, {FileFound::File, 30, text}),
            L"Picture file: not a Windows bitmap");
  EXPECT_EQ(shell::PictureLine(PictureRole::Skin, {FileFound::File, 0, {}}),
            L"Picture file: empty");
  EXPECT_EQ(LineFor(PictureRole::LargeStatic, {.width = 38, .height = 38, .extraBytes = -1}),
            L"Picture file: truncated bitmap");
}

TEST(PictureCheck, DevicesPipesAndSharesAreKnownByTheirPathAlone) {
  const struct {
    std::wstring_view path;
    PathShape shape;
  } cases[] = {
      {L"C:\\logos\\small.bmp", PathShape::Ordinary},
      {L"small.bmp", PathShape::Ordinary},
      {L"C:\\logos\\console.bmp", PathShape::Ordinary},
      {L"C:\\logos\\com10.bmp", PathShape::Ordinary},
      {L"\\\\?\\C:\\logos\\small.bmp", PathShape::Ordinary},
      {L"CON", PathShape::Device},
      {L"nul", PathShape::Device},
      {L"C:\\logos\\NUL.bmp", PathShape::Device},
      {L"C:\\logos\\aux .bmp", PathShape::Device},
      {L"C:prn", PathShape::Device},
      {L"c:aux.bmp", PathShape::Device},
      {L"COM1", PathShape::Device},
      {L"lpt9.bmp", PathShape::Device},
      {L"COM1:", PathShape::Device},
      {L"C:/logos/com\u00b9", PathShape::Device},
      {L"COM0.bmp", PathShape::Device},
      {L"C:\\logos\\LPT0.bmp", PathShape::Device},
      {L"lpt\u00b2.bmp", PathShape::Device},
      {L"COM\u00b3", PathShape::Device},
      {L"C:\\logos\\com\u2074.bmp", PathShape::Ordinary},  // only \u00b9 to \u00b3 count
      {L"conout$", PathShape::Device},
      {L"\\\\.\\pipe\\tavlin", PathShape::Device},
      {L"//./COM1", PathShape::Device},
      {L"\\\\?\\pipe\\tavlin", PathShape::Device},
      {L"\\??\\GLOBALROOT\\Device\\Null", PathShape::Device},
      {L"\\\\?\\C:\\logos\\con", PathShape::Device},
      {L"\\\\server\\share\\logo.bmp", PathShape::Network},
      {L"//server/share/logo.bmp", PathShape::Network},
      {L"\\\\?\\UNC\\server\\share\\logo.bmp", PathShape::Network},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::ShapeOfPath(c.path), c.shape) << std::string(c.path.begin(), c.path.end());
}

TEST(PictureCheck, OnlyOrdinaryPathsAreLookedAtAndAnEmptyBoxGivesNoLine) {
  FakeFiles files;
  files.Put(L"C:\\a.bmp", BitmapBytes({.width = 22, .height = 22}));
  EXPECT_EQ(shell::CheckPicture(PictureRole::SmallStatic, L"", files), L"");
  EXPECT_EQ(shell::CheckPicture(PictureRole::SmallStatic, L"\\\\.\\pipe\\p", files),
            L"Picture file: not a file");
  EXPECT_EQ(shell::CheckPicture(PictureRole::SmallStatic, L"\\\\host\\s\\a.bmp", files),
            L"Picture file: on the network; not checked");
  EXPECT_TRUE(files.probed.empty()) << "nothing opened for those";
  EXPECT_EQ(shell::CheckPicture(PictureRole::SmallStatic, L"C:\\a.bmp", files),
            L"Picture file: 22 \u00d7 22 pixels");
  EXPECT_EQ(shell::CheckPicture(PictureRole::SmallStatic, std::wstring(32767, L'x'), files),
            L"Picture file: not found");
  EXPECT_EQ(files.probed.size(), 2u);
}

// Only a whole bitmap within 4096 pixels each way and 16 MB may be decoded for
// a balloon; beyond that the balloon says so instead.
TEST(PictureCheck, ABalloonShowsOnlyAWholeBitmapWithinTheLimits) {
  using shell::Preview;
  using shell::PreviewVerdict;
  const auto probeOf = [](const BitmapLayout& layout, std::uint64_t size = 0) {
    const auto bytes = BitmapBytes(layout);
    const std::vector<std::byte> head(
        bytes.begin(), bytes.begin() + std::min(bytes.size(), shell::kBitmapHeadBytes));
    return shell::FileProbe{FileFound::File, size ? size : bytes.size(), head};
  };
  constexpr std::uint64_t k16MB = 16 * 1024 * 1024;
  const struct {
    const char* what;
    shell::FileProbe probe;
    Preview preview;
  } cases[] = {
      {"a logo", probeOf({.width = 38, .height = 38}), {PreviewVerdict::Show, 38, 38}},
      {"a strip", probeOf({.width = 22, .height = 88}), {PreviewVerdict::Show, 22, 88}},
      {"a top-down strip", probeOf({.width = 22, .height = -88}), {}},
      {"4096 wide", probeOf({.width = 4096, .height = 1}), {PreviewVerdict::Show, 4096, 1}},
      {"4097 wide", probeOf({.width = 4097, .height = 1}), {PreviewVerdict::TooLarge, 0, 0}},
      {"4097 high", probeOf({.width = 1, .height = 4097}), {PreviewVerdict::TooLarge, 0, 0}},
      {"a huge RLE header in a small file",
       probeOf({.width = 5000,
                .height = 5000,
                .bits = 8,
                .compression = 1,
                .extraBytes = 64 - 5000 * 5000}),
       {PreviewVerdict::TooLarge, 0, 0}},
      {"16 MB", probeOf({.width = 2, .height = 2}, k16MB), {PreviewVerdict::Show, 2, 2}},
      {"16 MB and a byte",
       probeOf({.width = 2, .height = 2}, k16MB + 1),
       {PreviewVerdict::TooLarge, 0, 0}},
      {"truncated", probeOf({.width = 38, .height = 38, .extraBytes = -1}), {}},
      {"no bitmap", {FileFound::File, 30, std::vector<std::byte>(30, std::byte{'x'})}, {}},
      {"a folder", {FileFound::Folder, 0, {}}, {}},
      {"on the network", {FileFound::Network, 0, {}}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(shell::PreviewOf(c.probe), c.preview) << c.what;
}

}  // namespace
}  // namespace tavlin::testing
