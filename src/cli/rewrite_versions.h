#pragma once
// The versions `rewrite --version` writes, and what an older one leaves out.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnelko::cli {

// The versions the writers know, oldest first: each one at which the layout
// of a drawing (or figure) changes.
std::span<const int32_t> KnownVersions(bool figure);

// "220, 223, ..., 700", for a refusal.
std::string VersionList(bool figure);

// What a drawing of version `from` holds that version `to` has no room for
// ("pen widths", "3 bound images"); empty when nothing is lost.
std::vector<std::string> DroppedByVersion(int32_t from, int32_t to, bool figure,
                                          size_t bound_images);

}  // namespace varnelko::cli
