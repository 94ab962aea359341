#pragma once
// Both ways of converting a file held in memory: the full path (load, apply
// the rules, write at the file's version) and the scan-and-patch path. The
// full path is the judge; the differential test and the fuzz target compare
// the two. Header-only and free of the test framework, so that the fuzz
// target can include it as it stands.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/layer_rules.h"
#include "conversion/scan_patch.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "platform/system_copy.h"

namespace varnelko::test {

struct PathResult {
  bool ok = false;
  std::string bytes;
  ConversionCounts counts;
  std::string why;  // the fast path's reason to fall back
};

inline PathResult FullPath(std::string_view input, bool figure, const ConversionSettings& s) {
  PathResult r;
  if (figure) {
    JwsDocument doc;
    if (ReadJwsBytes(input, doc)) {
      r.counts = ApplyLayerConversion(doc.store, doc.version, s);
      r.ok = BuildJwsBytes(doc.version, doc, r.bytes);
    }
    return r;
  }
  auto doc = std::make_unique<JwwDocument>();
  if (ReadJwwBytes(input, *doc)) {
    r.counts = ApplyLayerConversion(doc->store, doc->header.version, s);
    r.ok = BuildJwwBytes(doc->header.version, *doc, r.bytes);
  }
  FreeJwwDocument(*doc);
  return r;
}

// The output as the file writer puts it together: the stretches the scan
// lists as unchanged come from the input as it was (the system copies them
// from the source file), the rest from the patched bytes.
inline PathResult FastPath(std::string_view input, bool figure, const ConversionSettings& s) {
  PathResult r;
  std::string bytes(input);
  PatchedFile out;
  r.ok = figure ? ScanPatchJws(bytes, s, out, r.why) : ScanPatchJww(bytes, s, out, r.why);
  if (!r.ok) return r;
  std::vector<std::string_view> pieces = {out.head};
  pieces.insert(pieces.end(), out.pieces.begin(), out.pieces.end());
  const SourceCopy source{nullptr, bytes, out.unchanged};
  for (const OutputPart& part : SplitForSystemCopy(pieces, source)) {
    r.bytes += part.from_source ? input.substr(static_cast<size_t>(part.bytes.data() - bytes.data()),
                                               part.bytes.size())
                                : part.bytes;
  }
  r.counts = out.counts;
  return r;
}

// Empty when the paths agree: the fast path either fell back or gave the
// full path's bytes and counts.
inline std::string CompareConversionPaths(std::string_view input, bool figure,
                                          const ConversionSettings& s,
                                          PathResult* fast_out = nullptr) {
  PathResult fast = FastPath(input, figure, s);
  if (fast_out) *fast_out = fast;
  if (!fast.ok) return "";
  PathResult full = FullPath(input, figure, s);
  if (!full.ok) return "the fast path converted a file the full path refuses";
  if (fast.counts != full.counts) {
    return "counts differ: fast " + std::to_string(fast.counts.colors) + "/" +
           std::to_string(fast.counts.styles) + ", full " + std::to_string(full.counts.colors) +
           "/" + std::to_string(full.counts.styles);
  }
  if (fast.bytes != full.bytes) {
    size_t at = 0;
    while (at < fast.bytes.size() && at < full.bytes.size() && fast.bytes[at] == full.bytes[at]) {
      ++at;
    }
    return "bytes differ from offset " + std::to_string(at) + " (fast " +
           std::to_string(fast.bytes.size()) + " bytes, full " +
           std::to_string(full.bytes.size()) + ")";
  }
  return "";
}

}  // namespace varnelko::test
