// What frmMain needs of its window and controls. The window host implements it
// over real controls; tests use a recording double.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/control_id.h"

namespace tavlin::app {

class Controls {
 public:
  virtual ~Controls() = default;
  virtual void SetCaption(std::wstring_view caption) = 0;  // the window's title bar
  virtual void SetText(Ctl control, std::wstring_view text) = 0;
  virtual std::wstring GetText(Ctl control) = 0;
  virtual void SetVisible(Ctl control, bool visible) = 0;
  virtual void SetEnabled(Ctl control, bool enabled) = 0;
  virtual void BringToFront(Ctl control) = 0;  // top of its siblings' z-order
  virtual void SetFocus(Ctl control) = 0;
  // The control that has the keyboard focus (a drop-down's for its edit part);
  // none when the focus is on no control of the layout.
  virtual std::optional<Ctl> Focused() = 0;
  virtual void CloseWindow() = 0;          // unloads the window; the program ends
  virtual void DropGlobalReference() = 0;  // shared routines no longer reach the window
};

}  // namespace tavlin::app
