// The help balloons: each control of the tip catalogue gets its tip once the
// window is first on the screen, with the text the window holds for it then.
#include "app/frmMain.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::app {
namespace {

// The catalogue row of a control's tip, or the row count when it has none.
std::size_t TipRowOf(Ctl control) {
  const auto rows = tooltip::TipCatalogue();
  std::size_t i = 0;
  while (i < rows.size() && rows[i].control != control) ++i;
  return i;
}

}  // namespace

void frmMain::Form_Shown() {
  if (!tipsAttached_) SetToolTips();
}

void frmMain::SetToolTips() {
  tipsAttached_ = true;
  // A control that cannot take a tip is left without one; the rest still get theirs.
  const auto rows = tooltip::TipCatalogue();
  for (std::size_t i = 0; i < rows.size(); ++i) tips_.CreateToolTip(rows[i].control, tipText_[i]);
}

void frmMain::SetTipText(Ctl control, std::wstring_view text) {
  const std::size_t row = TipRowOf(control);
  if (row == tipText_.size()) return;
  tipText_[row] = text;
  if (tipsAttached_) tips_.SetToolTipText(control, text);
}

std::wstring_view frmMain::TipTextOf(Ctl control) const {
  const std::size_t row = TipRowOf(control);
  return row < tipText_.size() ? std::wstring_view(tipText_[row]) : std::wstring_view();
}

}  // namespace tavlin::app
