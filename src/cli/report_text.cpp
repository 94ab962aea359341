#include "cli/report_text.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/path_text.h"

namespace varnelko::cli {

std::string EscapeControls(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c != 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

std::string Shown(const std::string& typed) { return PathToUtf8(PathFromUtf8(typed)); }

void PrintLine(const std::string& text) {
  platform::WriteText(platform::Stream::kOut, text + "\n");
}

void PrintErrorLine(const std::string& text) {
  platform::WriteText(platform::Stream::kError, text + "\n");
}

}  // namespace varnelko::cli
