#include "document/jws_document.h"

namespace varnelko {

void ClearJwsDocument(JwsDocument& doc) { doc = JwsDocument{}; }

void FreeJwsDocument(JwsDocument& doc) { ClearJwsDocument(doc); }

}  // namespace varnelko
