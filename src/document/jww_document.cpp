#include "document/jww_document.h"

#include <utility>

namespace varnelko {

void ClearJwwDocument(JwwDocument& doc) {
  BoundImages images = std::move(doc.images);
  doc = JwwDocument{};
  doc.images = std::move(images);
}

void FreeJwwDocument(JwwDocument& doc) {
  ClearBoundImages(doc.images);
  ClearJwwDocument(doc);
}

}  // namespace varnelko
