#pragma once
// The JWW header block: signature, version, memo and the long run of
// version-dependent drawing settings before the entity list.
#include <cstdint>

#include "document/jww_document.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/format_error.h"

namespace varnelko {

// The first version a JWW reader loads.
constexpr int32_t kJwwMinVersion = 220;

// Reads the header block (signature through the current text settings) into
// `doc`. The caller has cleared the document. A version below 220 fails the
// reader ("version N is below 220") right after the version field.
void ReadJwwHeader(ByteReader& in, JwwDocument& doc);

// Reads the signature, version, memo and paper size and steps over the rest
// of the header through the version block; enough for the memo column.
void ReadJwwMemoFields(ByteReader& in, JwwDocument& doc);

// Writes the header block at `version`. False (with `error`) when a string
// does not fit the format.
bool WriteJwwHeader(ByteWriter& out, int32_t version, const JwwDocument& doc,
                    FormatError* error);

}  // namespace varnelko
