#include "platform/file_names.h"

#include <algorithm>
#include <string>

namespace varnelko {
namespace {

unsigned char Folded(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

}  // namespace

// The names' own bytes, without a copy: the batch's sets and maps compare
// names hundreds of thousands of times in a large folder.
int CompareFileNames(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::string& x = a.native();
  const std::string& y = b.native();
  const size_t n = std::min(x.size(), y.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = Folded(x[i]), d = Folded(y[i]);
    if (c != d) return c < d ? -1 : 1;
  }
  return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

}  // namespace varnelko
