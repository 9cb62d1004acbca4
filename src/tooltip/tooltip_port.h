// What the tooltip catalogue needs: one balloon tip attached to one control.
#pragma once

#include <string_view>

#include "common/control_id.h"

namespace tavlin::tooltip {

class TooltipPort {
 public:
  virtual ~TooltipPort() = default;
  // Creates one tooltip window for the control with the text; false when the
  // control has no window to attach to.
  virtual bool CreateToolTip(Ctl control, std::wstring_view text) = 0;
};

}  // namespace tavlin::tooltip
