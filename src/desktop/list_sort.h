#pragma once
// The file list's sort as the header shows it: which column, which way.
// The direction alternates with every sort, whichever column is clicked;
// a click on the attribute column lists the folder again in its own order.
// A new listing is sorted as the last one was.
#include "desktop/window_state.h"

namespace varnelko {

// A header click on `column` of a shown list: the sort to apply now (its
// column is -1 for the attribute column: list again, no arrow). Keeps it in
// the state for the arrow and the next listing.
SortIndicator HeaderClick(WindowState& state, int column);

}  // namespace varnelko
