#pragma once
// The object archive that JWW drawings and JWS figures share after their
// headers: the entity list, then the block definition list. Objects are
// tagged by class (a new class by name, later ones by number), classes and
// objects share one running number, and the format carries no lengths.
#include <cstddef>
#include <cstdint>

#include "document/entity_store.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/format_error.h"

namespace varnelko {

// The longest class name each format's reader accepts.
constexpr size_t kJwwMaxClassName = 2048;
constexpr size_t kJwsMaxClassName = 200;

// Reads the entity list and the block definition list into `store` (which
// the caller has cleared). `version` decides the entity layouts (pen width
// from 351, the dimension extras from 420). False with the reader failed
// (and its error set) on any failure; an unrecognised class ends the load.
bool ReadEntityArchive(ByteReader& in, int32_t version, size_t max_class_name,
                       EntityStore& store);

struct ArchiveWriteOptions {
  // JWS figures write a text that begins "^@BM%temp%" as "^@BM" + the rest.
  bool shorten_image_marker = false;
};

// Writes the entity list and the block definition list of `store` at
// `version`, numbering classes and objects afresh and normalising every entity
// header. False (with `error` set) when a string is too long for the format.
bool WriteEntityArchive(ByteWriter& out, int32_t version, const EntityStore& store,
                        const ArchiveWriteOptions& options, FormatError* error);

// An upper bound of the bytes WriteEntityArchive writes for `store`, so that
// a writer can reserve its output once.
size_t EstimateArchiveSize(const EntityStore& store);

// Building blocks, exposed for tests of the exact byte layouts and for the
// scan-and-patch conversion, which checks a file against them.
// A count below 0xFFFF is one i16; any other is 0xFFFF and an i32.
constexpr bool CountHasShortForm(int64_t n) { return n >= 0 && n < 0xFFFF; }
void WriteCount(ByteWriter& out, int32_t n);
void WriteClassRef(ByteWriter& out, int32_t class_index);
// Writes `header` normalised for normalisation type 1..8 at `version`.
void WriteEntHeader(ByteWriter& out, int32_t version, int norm_type, const TEntHeader& header);
// The header WriteEntHeader would write, for tests and the conversion report.
TEntHeader NormalizeEntHeader(int32_t version, int norm_type, TEntHeader header);

}  // namespace varnelko
