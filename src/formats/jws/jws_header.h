#pragma once
// Reading and writing the 452-byte header of a JWS figure.
#include <cstdint>

#include "document/jws_document.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"

namespace varnelko {

// Reads signature, version and header values; the filler is dropped.
void ReadJwsHeader(ByteReader& in, JwsDocument& doc);

// Writes the header at `version` (already normalised) with a fresh filler.
void WriteJwsHeader(ByteWriter& out, int32_t version, const JwsDocument& doc);

}  // namespace varnelko
