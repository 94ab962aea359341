#include "formats/cstring.h"

namespace varnelko {

std::string ReadCString(ByteReader& in) {
  size_t length = in.U8();
  if (length == 0xFF) length = in.U16();
  return in.Bytes(length);
}

bool WriteCString(ByteWriter& out, std::string_view text, FormatError* error) {
  if (text.size() > kMaxCStringLength) {
    SetError(error, "text of " + std::to_string(text.size()) +
                        " bytes is longer than the 65535 the format can hold",
             out.size());
    return false;
  }
  if (text.size() < 0xFF) {
    out.U8(static_cast<uint8_t>(text.size()));
  } else {
    out.U8(0xFF);
    out.U16(static_cast<uint16_t>(text.size()));
  }
  out.Bytes(text);
  return true;
}

}  // namespace varnelko
