#pragma once
// Builds documents with entities of every kind, for round trips, samples,
// conversion tests and benchmarks. The same options and seed always give the
// same document.
#include <cstddef>
#include <cstdint>

#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko::test {

struct BuildOptions {
  int32_t version = 700;
  size_t entities = 20;      // top-level entities, all seven kinds mixed
  size_t block_defs = 2;     // each with a few members of every kind
  uint32_t seed = 1;
  bool japanese_text = true; // texts, names and memo hold code page 932 characters
  size_t images = 0;         // bound images (version 700+), each referred to by a text
};

// Values are those a writer keeps unchanged (normalised headers, clean
// strings), so that load(write(doc)) == doc.
JwwDocument BuildJwwDocument(const BuildOptions& options);

// Every layer group and layer shown and editable (the builder's random
// states hide some), for tests that need every entity drawn.
void ShowAllLayers(JwwDocument& doc);
JwsDocument BuildJwsDocument(const BuildOptions& options);

}  // namespace varnelko::test
