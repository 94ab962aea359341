#include "platform/path_text.h"

#include "document/cp932.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

std::string Utf8Of(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

fs::path PathFromCp932Name(std::string_view name) {
#if defined(_WIN32)
  return PathFromUtf8(Cp932ToUtf8(name));
#else
  return fs::path(std::string(name));
#endif
}

std::string PathToUtf8(const fs::path& given) {
  // Separators as the system writes them: "/" typed on Windows shows as "\".
  const fs::path path = fs::path(given).make_preferred();
  std::string whole = Utf8Of(path);
  if (IsUtf8(whole)) return whole;
  // Only Linux gets here: Windows names are UTF-16 and always convert.
  constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
  std::string shown;
  for (const fs::path& part : path) {
    const std::string bytes = Utf8Of(part);
    const bool is_root = part == path.root_directory();
    if (!shown.empty() && shown.back() != kSeparator && !is_root) shown += kSeparator;
    // A trailing separator comes back as an empty last part.
    shown += IsUtf8(bytes) ? bytes : Cp932ToUtf8(bytes);
  }
  return shown;
}

}  // namespace varnelko
