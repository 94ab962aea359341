#include "platform/file_names.h"

#include <string>

#include "platform/path_text.h"

namespace varnelko {
namespace {

std::string Folded(const std::filesystem::path& name) {
  std::string key = PathToUtf8(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

int CompareFileNames(const std::filesystem::path& a, const std::filesystem::path& b) {
  return Folded(a).compare(Folded(b));
}

}  // namespace varnelko
