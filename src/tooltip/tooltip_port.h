// What the tip catalogue needs: one balloon tip attached to one control.
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
  // Gives the control's existing tip a new text (the same "|" rule); nothing
  // when the control has no tip.
  virtual void SetToolTipText(Ctl control, std::wstring_view text) = 0;
};

}  // namespace tavlin::tooltip
