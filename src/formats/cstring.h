#pragma once
// The archive string of JWW and JWS files: a length byte 0..254 and that many
// bytes, or 0xFF, a 16-bit length and that many bytes. No terminator, zero
// bytes allowed, at most 65,535 bytes.
#include <string>
#include <string_view>

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/format_error.h"

namespace varnelko {

constexpr size_t kMaxCStringLength = 65535;

std::string ReadCString(ByteReader& in);

// The text of the next CString without copying it. `writer_form` tells
// whether its length takes the form WriteCString gives that length.
std::string_view ViewCString(ByteReader& in, bool& writer_form);

// A text below 255 bytes takes the one-byte length; longer ones the escape.
constexpr bool CStringHasShortForm(size_t length) { return length < 0xFF; }

// False (and nothing written) for a text longer than 65,535 bytes: the format
// has no length for it.
bool WriteCString(ByteWriter& out, std::string_view text, FormatError* error = nullptr);

}  // namespace varnelko
