// Work in progress: the balloon window is being written in its own change.
#include "tooltip/tooltip_win32.h"

namespace tavlin::tooltip {

bool Win32Tooltips::CreateToolTip(Ctl, std::wstring_view) { return false; }

}  // namespace tavlin::tooltip
