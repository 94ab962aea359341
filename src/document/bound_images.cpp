#include "document/bound_images.h"

namespace varnelko {

void ClearBoundImages(BoundImages& images) { images.list.clear(); }

bool CarriesImage(const TBindImageType& entry) { return !entry.name.empty() && entry.size != 0; }

}  // namespace varnelko
