#include <windows.h>

#include "platform/file_names.h"

namespace varnelko {

int CompareFileNames(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  const int order = CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(),
                                         static_cast<int>(y.size()), TRUE);
  return order == CSTR_LESS_THAN ? -1 : order == CSTR_GREATER_THAN ? 1 : 0;
}

}  // namespace varnelko
