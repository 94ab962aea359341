#pragma once
// Where the window program keeps its ini file: beside the program when that
// folder accepts new files (a portable copy), otherwise in the user's
// %APPDATA%\Varnelko.
#include "win32/main_window.h"

namespace varnelko::win32 {

WindowLocations DefaultWindowLocations();

}  // namespace varnelko::win32
