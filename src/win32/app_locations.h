#pragma once
// Where the Windows program keeps its ini file: the desktop layer's rule
// over the program's folder and %APPDATA%\Varnelko.
#include "desktop/app_locations.h"

namespace varnelko::win32 {

AppLocations DefaultAppLocations();

}  // namespace varnelko::win32
