#pragma once
// What `render` and `rewrite` look at before they write a file the user named.
#include <filesystem>
#include <string>
#include <vector>

namespace varnelko::cli {

// Why `output` must not be written, or empty when it may: it is one of the
// `inputs` (by identity, not by name), it is there and is not a regular file
// (a folder, a device, a FIFO: never replaced), or, unless
// `may_replace_drawing`, it is a drawing or figure (by its signature).
std::string RefusedOutput(const std::filesystem::path& output,
                          const std::vector<std::filesystem::path>& inputs,
                          bool may_replace_drawing);

}  // namespace varnelko::cli
