#include "version.h"

namespace varnelko {

std::string VersionText() { return "Varnelko " VARNELKO_VERSION; }

}  // namespace varnelko
