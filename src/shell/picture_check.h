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

// The check of one box: the empty text for an empty box, otherwise one line.
std::wstring CheckPicture(PictureRole role, std::wstring_view path, FileProbePort& files);

}  // namespace tavlin::shell
