#include "formats/cstring.h"

namespace varnelko {

std::string_view ViewCString(ByteReader& in, bool& writer_form) {
  size_t length = in.U8();
  bool escaped = length == 0xFF;
  if (escaped) length = in.U16();
  writer_form = escaped != CStringHasShortForm(length);
  return in.View(length);
}

std::string ReadCString(ByteReader& in) {
  bool writer_form;
  return std::string(ViewCString(in, writer_form));
}

bool WriteCString(ByteWriter& out, std::string_view text, FormatError* error) {
  if (text.size() > kMaxCStringLength) {
    SetError(error, "text of " + std::to_string(text.size()) +
                        " bytes is longer than the 65535 the format can hold",
             out.size());
    return false;
  }
  if (CStringHasShortForm(text.size())) {
    out.U8(static_cast<uint8_t>(text.size()));
  } else {
    out.U8(0xFF);
    out.U16(static_cast<uint16_t>(text.size()));
  }
  out.Bytes(text);
  return true;
}

}  // namespace varnelko
