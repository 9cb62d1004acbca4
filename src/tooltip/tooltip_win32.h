// Balloon tips over the platform's tooltip windows.
#pragma once

#include <windows.h>

#include <functional>

#include "tooltip/tooltip_port.h"

namespace tavlin::tooltip {

class Win32Tooltips : public TooltipPort {
 public:
  Win32Tooltips(HWND owner, std::function<HWND(Ctl)> controlWindow)
      : owner_(owner), controlWindow_(std::move(controlWindow)) {}
  bool CreateToolTip(Ctl control, std::wstring_view text) override;

 private:
  HWND owner_;
  std::function<HWND(Ctl)> controlWindow_;
};

}  // namespace tavlin::tooltip
