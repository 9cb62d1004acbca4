// Start-up gives each control of the tip catalogue its help balloon.
#include "app/frmMain.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::app {

void frmMain::SetToolTips() {
  // A control that cannot take a tip is left without one; the rest still get theirs.
  for (const tooltip::TipRow& row : tooltip::TipCatalogue())
    tips_.CreateToolTip(row.control, tooltip::TipText(row));
}

}  // namespace tavlin::app
