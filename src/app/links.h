// The maker's pages, and which control opens which: the one table behind the
// link handlers, the keyboard's stops on the links and what a screen reader
// hears of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/control_id.h"

namespace tavlin::app {

enum class Page { Home, Products, Orvalen, Wendlekin, Stowfast, Freeware };

// The address handed to the shell for a page: the home and products pages as
// the bare host (and path), the product and freeware pages with "http://".
std::wstring AddressOf(Page page);

// lblOrv(Index) and lblProducts(Index); none for an index outside their tables.
std::optional<Page> OrvPage(short index);
std::optional<Page> ProductsPage(short index);

// The page a click on the control opens; none for a control that opens none.
std::optional<Page> PageOf(Ctl control);

// The controls the keyboard stops at besides the boxes and buttons, panel by
// panel in reading order: " About ...", and one link for each page the panel
// opens (the first label in reading order that opens it, or the picture where
// no label does). The walk reaches them after the panel's other controls and
// before its OK and Apply buttons.
bool IsLinkStop(Ctl control);

// What a screen reader is told a control is, beyond its name: a link stop is a
// link (its address is its value, opening it its default action), the About
// switch a button; everything else is what the platform's own object says.
enum class AccessibleKind { Standard, Link, Button };
AccessibleKind AccessibleKindOf(Ctl control);
const std::vector<Ctl>& LinkStopsOf(Ctl panel);

}  // namespace tavlin::app
