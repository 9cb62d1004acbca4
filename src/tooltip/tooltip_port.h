// What the tip catalogue needs: one balloon tip attached to one control, and
// a new text for it when a check adds or drops a line.
#pragma once

#include <string>
#include <optional>
#include <string_view>

#include "common/control_id.h"
#include "tooltip/balloon.h"

namespace tavlin::tooltip {

// The picture a picture box's balloon shows below its text: the file the
// picture check found a bitmap a balloon may show, and its size as its header
// says. An empty path: no picture.
struct TipPicture {
  PictureKind kind = PictureKind::Whole;
  std::wstring path;
  int width = 0, height = 0;
  bool operator==(const TipPicture&) const = default;
};

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
  // The control whose tip the keyboard shows now; none when none shows (also
  // once the pointer's own balloon has taken its place).
  virtual std::optional<Ctl> KeyboardTipFor() = 0;
  // Gives the control's balloon a picture below its text, or none. The file is
  // read when the balloon next shows, not before; a picture read earlier for
  // the control is let go. False when the control has no tip.
  virtual bool SetTipPicture(Ctl control, const TipPicture& picture) = 0;
};

}  // namespace tavlin::tooltip
