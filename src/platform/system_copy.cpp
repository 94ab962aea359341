#include "platform/system_copy.h"

#include <algorithm>
#include <cstdint>

namespace varnelko {

std::vector<OutputPart> SplitForSystemCopy(std::span<const std::string_view> pieces,
                                           const SourceCopy& source) {
  std::vector<OutputPart> parts;
  parts.reserve(pieces.size() + 2 * source.unchanged.size());
  const auto base = reinterpret_cast<uintptr_t>(source.bytes.data());
  for (std::string_view piece : pieces) {
    if (piece.empty()) continue;
    const auto at = reinterpret_cast<uintptr_t>(piece.data());
    if (piece.size() > source.bytes.size() || at < base ||
        at - base > source.bytes.size() - piece.size()) {
      parts.push_back({piece, false});  // not the source's bytes
      continue;
    }
    const size_t start = at - base, end = start + piece.size();
    // The first range that ends after the piece starts.
    auto range = std::upper_bound(source.unchanged.begin(), source.unchanged.end(), start,
                                  [](size_t offset, const std::pair<size_t, size_t>& r) {
                                    return offset < r.first + r.second;
                                  });
    size_t done = start;  // the piece is split up to here
    for (; range != source.unchanged.end() && range->first < end; ++range) {
      const size_t from = std::max(range->first, start);
      const size_t to = std::min(range->first + range->second, end);
      if (to - from < kMinSystemCopy) continue;
      if (from > done) parts.push_back({piece.substr(done - start, from - done), false});
      parts.push_back({piece.substr(from - start, to - from), true});
      done = to;
    }
    if (done < end) parts.push_back({piece.substr(done - start), false});
  }
  return parts;
}

}  // namespace varnelko
