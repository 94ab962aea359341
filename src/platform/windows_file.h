#pragma once
// Windows only, inside the platform module: what the file code of Windows
// shares (the counterpart of posix_file.h).
#include <windows.h>

#include "platform/native_file.h"

namespace varnelko {

// The identity of an open file or folder: its volume's serial number and its
// file index; empty when the system does not tell.
PathState IdentityOf(HANDLE h);

}  // namespace varnelko
