#include "desktop/list_sort.h"

#include "desktop/file_rows.h"

namespace varnelko {

SortIndicator HeaderClick(WindowState& state, int column) {
  if (column == kAttributeColumn) {  // back to the listing order; the direction stays
    state.sort = {};
    return state.sort;
  }
  state.sort = {column, state.sort_descending};
  state.sort_descending = !state.sort_descending;
  return state.sort;
}

}  // namespace varnelko
