#include "formats/jww/bound_image_refs.h"

#include "document/text_helpers.h"

namespace varnelko {

std::string BoundImageRefs::UpperCp932(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(out[i]);
    if (IsLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return out;
}

void BoundImageRefs::See(std::string_view text) {
  if (upper_names_.empty()) return;
  if (text.size() < kImageMarker.size() + 1 || !text.starts_with(kImageMarker)) return;
  size_t comma = text.find(',', kImageMarker.size());
  if (comma == std::string_view::npos) return;
  std::string reference =
      UpperCp932(text.substr(kImageMarker.size(), comma - kImageMarker.size()));
  for (size_t i = 0; i < upper_names_.size(); ++i) {
    if (upper_names_[i].starts_with(reference)) {
      used_[i] = 1;
      return;
    }
  }
}

}  // namespace varnelko
