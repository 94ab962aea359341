#include "platform/native_file.h"

#include "platform/file_buffer_access.h"

namespace varnelko {

std::string NotRegular(std::filesystem::file_type type) {
  using std::filesystem::file_type;
  switch (type) {
    case file_type::directory: return "is a folder, not a file";
    case file_type::fifo: return "not a regular file (a FIFO)";
    case file_type::socket: return "not a regular file (a socket)";
    case file_type::block:
    case file_type::character: return "not a regular file (a device)";
    default: return "not a regular file";
  }
}

bool SameFile(const PathState& a, const PathState& b) {
  return a.exists && b.exists && a.file != 0 && a.device == b.device && a.file == b.file;
}

}  // namespace varnelko
