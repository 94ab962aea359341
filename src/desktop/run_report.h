#pragma once
// What the user is told after a conversion run in which files failed: how
// many files were converted, failed and skipped, and in the details each
// failed file with its reason, then each skipped one. Texts are UTF-8.
#include <string>
#include <vector>

#include "conversion/batch.h"

namespace varnelko {

struct RunReport {
  int converted = 0;
  int failed = 0;   // every outcome that is not converted, skipped or left unstarted
  int skipped = 0;  // read, and no JWW or JWS drawing
  std::string summary;  // the box's text
  std::string details;  // one line per file not converted, failures first
};

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes);

}  // namespace varnelko
