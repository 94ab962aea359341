#pragma once
// Byte fixtures of JWW drawings and entity archives, written field by field
// here rather than by the project's writer, so that reader tests pin the
// layout independently of it.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/entities.h"
#include "formats/byte_writer.h"

namespace varnelko::test {

// The header block of a drawing at `version` (signature "JwwData." through
// the current text settings). Every number field holds a distinct non-zero
// marker (the n-th number field holds n, or n + 0.25 for a double) and every
// name is "n<k>", so a field read from the wrong place shows.
std::string JwwHeaderBytes(int32_t version, std::string_view memo = "memo");

// The empty archive: no entities, no block definitions, and from version 700
// an image count of 0.
std::string EmptyJwwTail(int32_t version);

// Archive pieces.
void PutCount(ByteWriter& out, int64_t count);             // i16, or 0xFFFF + i32
void PutNewClass(ByteWriter& out, std::string_view name);  // 0xFFFF, schema, name
void PutClassRef(ByteWriter& out, uint32_t number);        // short, or 0x7FFF + long
void PutCString(ByteWriter& out, std::string_view text);
void PutEntHeader(ByteWriter& out, int32_t version, const TEntHeader& h);
void PutLine(ByteWriter& out, int32_t version, const TEntSen& e);
void PutArc(ByteWriter& out, int32_t version, const TEntEnko& e);
void PutPoint(ByteWriter& out, int32_t version, const TEntTen& e);
void PutText(ByteWriter& out, int32_t version, const TEntMoji& e);
// Writes the extras (SXF mode, aux lines, points) only from version 420.
void PutDimension(ByteWriter& out, int32_t version, const TEntSunpo& e);
void PutSolid(ByteWriter& out, int32_t version, const TEntSolid& e);
void PutBlock(ByteWriter& out, int32_t version, const TEntBlock& e);

// A line whose fields are all derived from `seed`, for spotting it again.
TEntSen SampleLine(int seed);

}  // namespace varnelko::test
