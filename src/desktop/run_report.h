#pragma once
// What the user is told after a conversion run: how many files were
// converted (and of those how many had nothing on the chosen layer), skipped,
// failed and, in a stopped run, not started; and each file not converted
// with its reason in Japanese. Texts are UTF-8.
#include <string>
#include <vector>

#include "conversion/batch.h"

namespace varnelko {

struct FailureRow {
  std::string name;    // the file name
  std::string reason;  // Japanese
};

struct RunReport {
  int converted = 0;    // written, unchanged ones included
  int unchanged = 0;    // written with nothing changed: nothing on the chosen layer
  int failed = 0;       // every outcome that is not converted, skipped or left unstarted
  int skipped = 0;      // read, and no JWW or JWS drawing
  int not_started = 0;  // the run was stopped before them
  std::string summary;  // the box's text
  std::string details;  // one line per file not converted, failures first
  std::vector<FailureRow> rows;  // the same, for the failure list
};

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes);

// The status text after a run: "変換作業を完了しました。", or "変換作業を中止し
// ました。" after a stop, and how many files failed.
std::string RunStatusText(const RunReport& report, bool stopped);
// The counts beside it: "変換 12（変更なし 2）  スキップ 1  失敗 0", and the
// files not started when there are any.
std::string RunCountsText(const RunReport& report);

// The failure list as the copy button puts it on the clipboard: a line per
// file, name and reason separated by a tab.
std::string FailureListText(const std::vector<FailureRow>& rows);

}  // namespace varnelko
