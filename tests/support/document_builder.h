#pragma once
// Builds documents with entities of every kind, for round trips, samples and
// benchmarks.
#include <cstdint>

#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko::test {

}  // namespace varnelko::test
