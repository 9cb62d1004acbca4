#include "shell/picture_load_win32.h"

#include <windows.h>

#include <cstdlib>
#include <utility>

#include "common/text_boundary_win32.h"
#include "shell/file_probe_win32.h"

namespace tavlin::shell {

LoadedPicture LoadPicture(std::wstring_view path, const Preview& expected) {
  if (expected.verdict != PreviewVerdict::Show) return {};
  // The same look as the check's: a device, a pipe, a placeholder or a share
  // is never opened, and the headers must still say what they said.
  Win32FileProbe files;
  if (PreviewOf(ProbePicture(path, files)) != expected) return {};
  UniqueBitmap bitmap(win::LoadBitmapFile(path));
  // A bitmap holds no text: the 8-bit entry point is the one every system has.
  BITMAP info{};
  if (!bitmap || GetObjectA(bitmap.get(), sizeof info, &info) != sizeof info ||
      info.bmWidth != expected.width || std::abs(info.bmHeight) != expected.height)
    return {};
  return {std::move(bitmap)};
}

}  // namespace tavlin::shell
