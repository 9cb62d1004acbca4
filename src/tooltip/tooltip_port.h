// What the tip catalogue needs: one balloon tip attached to one control, and
// a new text for it when a check adds or drops a line.
#pragma once

#include <string_view>

#include "common/control_id.h"

namespace tavlin::tooltip {

class TooltipPort {
 public:
  virtual ~TooltipPort() = default;
  // Gives the control a tooltip window of its own with one tip; a "|" in the
  // text starts a new line. False when the control has no window to attach to
  // (or no tooltip window could be made); the control then shows no tip.
  virtual bool CreateToolTip(Ctl control, std::wstring_view text) = 0;
  // Replaces the text of the control's tip, made earlier by CreateToolTip
  // ("|" again starts a new line). False when the control has no tip.
  virtual bool UpdateToolTip(Ctl control, std::wstring_view text) = 0;
};

}  // namespace tavlin::tooltip
