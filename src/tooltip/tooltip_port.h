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
  // Shows the control's tip for the keyboard, with the text it holds now
  // (given again here), hanging from the control itself rather than from the
  // pointer, until HideKeyboardTip. False when the control has no tip.
  virtual bool ShowKeyboardTip(Ctl control, std::wstring_view text) = 0;
  // Hides the tip the keyboard showed; false when none was showing.
  virtual bool HideKeyboardTip() = 0;
};

}  // namespace tavlin::tooltip
