// The help balloons of the main window: which control carries which text.
// Every text is fixed; nothing here depends on settings or on the machine.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/control_id.h"

namespace tavlin::tooltip {

struct TipRow {
  Ctl control;
  std::vector<std::wstring_view> lines;  // one piece per line of the tip, in order
};

// The 17 rows, in the order the tips are attached.
std::span<const TipRow> TipCatalogue();

// The pieces of a tip joined with CR LF between consecutive pieces (none
// before the first or after the last).
std::wstring JoinLines(std::span<const std::wstring_view> lines);

// The text of one row, ready to hand to the tooltip module.
std::wstring TipText(const TipRow& row);

// A tip text may mark its line breaks with "|": each one becomes CR LF.
// Existing CR LF pairs and every other character stay as they are.
std::wstring BreakLines(std::wstring_view text);

}  // namespace tavlin::tooltip
