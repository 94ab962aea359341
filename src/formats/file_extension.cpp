#include "formats/file_extension.h"

#include "platform/path_text.h"

namespace varnelko {

std::string UpperCaseExtension(const std::filesystem::path& path) {
  const std::string name = PathToUtf8(path.filename());
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  // ASCII only: the extensions that matter are ASCII, and other bytes of a
  // code page 932 or UTF-8 name must stay as they are.
  for (char& c : ext) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return ext;
}

}  // namespace varnelko
