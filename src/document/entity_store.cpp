#include "document/entity_store.h"

namespace varnelko {

void CopyEntHeader(const TEntHeader& from, TEntHeader& to) { to = from; }

void EntityList::Clear() { *this = EntityList{}; }

void EntityStore::Clear() { *this = EntityStore{}; }

}  // namespace varnelko
