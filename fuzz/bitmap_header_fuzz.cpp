// Feeds arbitrary bytes through the picture check as the first bytes of a file
// whose size is taken from the input too, so that heads longer and far shorter
// than their file are both covered, and the same bytes as a path. Nothing may
// crash or read past a buffer, a bitmap must have a real size, and every line
// must stay one line of the tip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "shell/bitmap_header.h"
#include "shell/picture_check.h"

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
