// The line a picture box's tip gains: what is wrong with the file the box
// names, or what the file is. The browser draws the static logos at a fixed
// size and the spinning ones as a vertical strip of square frames of a fixed
// size; the toolbar background may be any size.
#pragma once

#include <string>
#include <string_view>

#include "common/pictures.h"
#include "shell/bitmap_header.h"
#include "shell/file_probe_port.h"

namespace tavlin::shell {

using tavlin::PictureRole;  // the picture table's, with the sizes the browser draws

enum class PathShape {
  Ordinary,  // a path to look at
  Device,    // a device or pipe (CON, NUL, COM1, \\.\pipe\...): never opened
  Network,   // a share on another computer (\\server\share\...): not opened
};

// What a path names, judged from its text alone, before anything is opened.
PathShape ShapeOfPath(std::wstring_view path);

// The line for what was found at the path.
std::wstring PictureLine(PictureRole role, const FileProbe& probe);

// What is at the path, looked at as the check looks: a device, a pipe or a
// share is known from the text alone and never opened.
FileProbe ProbePicture(std::wstring_view path, FileProbePort& files);

// The largest picture a balloon decodes: no edge longer, no file larger.
inline constexpr std::int64_t kPreviewMaxEdge = 4096;
inline constexpr std::uint64_t kPreviewMaxBytes = 16 * 1024 * 1024;

// Whether a balloon may show the picture found: only a bitmap the check finds
// whole on a local disk, its rows stored bottom-up (the usual way; not every
// system reads the other), and only within the limits above. What its header
// says is all that is known before the system decodes it.
enum class PreviewVerdict {
  None,      // nothing to show (no file, no bitmap, one cut short or stored top-down)
  Show,      // decode it when the balloon first shows
  TooLarge,  // a bitmap beyond the limits: not decoded, and the balloon says so
};
struct Preview {
  PreviewVerdict verdict = PreviewVerdict::None;
  int width = 0, height = 0;  // pixels, when shown
  bool operator==(const Preview&) const = default;
};
Preview PreviewOf(const FileProbe& probe);
// The line a balloon gains for a picture too large to show.
inline constexpr std::wstring_view kTooLargeLine = L"Picture too large to show";

// The check of one box, its path looked at once: the line (the empty text for
// an empty box) and what its balloon may show.
struct PictureFinding {
  std::wstring line;
  Preview preview;
};
PictureFinding ExaminePicture(PictureRole role, std::wstring_view path, FileProbePort& files);
// The line alone.
std::wstring CheckPicture(PictureRole role, std::wstring_view path, FileProbePort& files);

}  // namespace tavlin::shell
