// The balloon texts the tests expect: every catalogue tip, with extra lines
// under some of them.
#pragma once

#include <map>
#include <string>

#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {

// Every control's catalogue tip; a control named in extra has that text added
// as a line of its own after its tip.
std::map<Ctl, std::wstring> CatalogueWith(std::map<Ctl, std::wstring> extra);

}  // namespace tavlin::testing
