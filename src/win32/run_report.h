#pragma once
// What the user is told after a conversion run: the status text, and when
// files were not converted, a summary and one line per such file.
#include <string>
#include <vector>

#include "conversion/batch.h"

namespace varnelko::win32 {

struct RunReport {
  int converted = 0;
  int failed = 0;       // every outcome that is not converted, skipped or left unstarted
  int skipped = 0;      // read, and no JWW or JWS drawing
  int not_started = 0;  // left when the run was stopped
  std::string status;   // the status bar's text
  std::string summary;  // the box's text
  std::string details;  // one line per file not converted, failures first
};

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes);

}  // namespace varnelko::win32
