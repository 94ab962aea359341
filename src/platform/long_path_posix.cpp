#include "platform/path_text.h"

namespace varnelko {

std::filesystem::path LongPathForm(const std::filesystem::path& path) { return path; }

}  // namespace varnelko
