#include <unistd.h>

#include <cerrno>

#include "platform/console.h"

namespace varnelko::platform {

void WriteText(Stream stream, std::string_view text) {
  const int fd = stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO;
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a closed pipe, a full disk: nothing more can go there
    text.remove_prefix(static_cast<size_t>(n));
  }
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace varnelko::platform
