// Work in progress: the tip catalogue walk is being written in its own change.
#include "app/frmMain.h"

namespace tavlin::app {

void frmMain::SetToolTips() {}

}  // namespace tavlin::app
