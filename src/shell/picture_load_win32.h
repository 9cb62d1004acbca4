// The pictures the balloons show, decoded by the system's own bitmap reader,
// never by one of ours. The file is looked at again just before, as the
// picture check looks at it: it may have changed since the check.
#pragma once

#include <string_view>

#include "common/win32_handles.h"
#include "shell/picture_check.h"

namespace tavlin::shell {

struct LoadedPicture {
  UniqueBitmap bitmap;  // a DIB section; null when there is nothing to show
};

// Decodes the file at `path` if it is still what the check found: a bitmap a
// balloon may show (`expected`), on a local disk. Nothing when it is not, or
// when the system cannot decode it.
LoadedPicture LoadPicture(std::wstring_view path, const Preview& expected);

}  // namespace tavlin::shell
