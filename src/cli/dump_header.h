#pragma once
// The header of a drawing or figure as one JSON object of `dump`: every
// setting and table the file holds, under readable names.
#include <string>
#include <string_view>

#include "cli/json_writer.h"
#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko::cli {

// A stored text as `dump` prints it: UTF-8, or the hexadecimal of its bytes.
std::string DumpText(std::string_view cp932, bool hex_strings);

void DumpJwwHeader(const JwwDocument& doc, bool hex_strings, JsonWriter& json);
void DumpJwsHeader(const JwsDocument& doc, JsonWriter& json);

}  // namespace varnelko::cli
