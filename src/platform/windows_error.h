#pragma once
// Windows only, inside the platform module: the system's error codes with
// the system's own texts. A code keeps its portable meaning (a missing file
// compares equal to std::errc::no_such_file_or_directory), and its message
// is the text Windows gives in the user's language, as UTF-8.
#include <system_error>

namespace varnelko {

std::error_code WindowsError(unsigned long code);

// GetLastError() as such a code.
std::error_code LastWindowsError();

}  // namespace varnelko
