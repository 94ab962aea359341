#pragma once
// Which parts of an output the system may copy from the file the output was
// read from, rather than be handed from memory.
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace varnelko {

class HeldFile;

// What an output may copy from the file it was read from: `file`, whose
// content as read is `bytes`, and the sorted, disjoint (offset, length)
// ranges of `bytes` that still hold the file's own bytes. A piece lying in
// `bytes` at offset n is the file's content at n wherever it lies in one of
// those ranges.
struct SourceCopy {
  const HeldFile* file = nullptr;
  std::string_view bytes;
  std::span<const std::pair<size_t, size_t>> unchanged;
};

// Shorter unchanged stretches are written from memory: a system call per
// stretch costs more than the copy it saves.
constexpr size_t kMinSystemCopy = 64 * 1024;

// A part of the output: bytes to write from memory, or (`from_source`) the
// same bytes to copy from the source file at their offset in `bytes`.
struct OutputPart {
  std::string_view bytes;
  bool from_source = false;
};

// The pieces in order, cut where they enter and leave an unchanged range,
// so that every stretch of at least kMinSystemCopy bytes that lies in one
// is a part of its own taken from the source. Empty pieces are left out.
std::vector<OutputPart> SplitForSystemCopy(std::span<const std::string_view> pieces,
                                           const SourceCopy& source);

}  // namespace varnelko
