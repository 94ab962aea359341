#pragma once
// Converting a drawing without building it: the file's objects are walked
// with the bounds-checked reader, every entity header is converted and
// normalised in place, and the output is the rebuilt file header followed by
// spans of the input. This is only an optimisation of load, convert and
// write: whenever the input is not exactly in the form the writer would
// give it, the scan says so and the caller takes the full path, which
// produces the same bytes in every case where the scan succeeds.
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/conversion_settings.h"
#include "conversion/layer_rules.h"
#include "platform/system_copy.h"

namespace varnelko {

// The converted file: the rebuilt header, then the pieces (views of the
// patched input) in order. `unchanged` lists the (offset, length) stretches
// of the input, each at least kMinSystemCopy bytes long, that the scan left
// as they were, in order: the writer may copy those from the file itself.
struct PatchedFile {
  std::string head;
  std::vector<std::string_view> pieces;
  std::vector<std::pair<size_t, size_t>> unchanged;
  ConversionCounts counts;
  size_t trailing_bytes = 0;  // after the drawing's end: not part of the output

  size_t size() const;
};

// Converts the JWW drawing in `bytes` at its own version: the entity headers
// are patched where they lie and `out` refers into `bytes`. False, with `why`
// set, when the full path has to do it; `bytes` may then be patched in part,
// so the full path starts again from the file. (Keeping the original bytes
// for that rare case would cost memory on every file.)
bool ScanPatchJww(std::span<char> bytes, const ConversionSettings& settings, PatchedFile& out,
                  std::string& why);

// The same for a JWS figure, written at the normalised form of its version.
bool ScanPatchJws(std::span<char> bytes, const ConversionSettings& settings, PatchedFile& out,
                  std::string& why);

}  // namespace varnelko
