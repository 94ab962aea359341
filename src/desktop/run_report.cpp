#include "desktop/run_report.h"

#include "platform/path_text.h"

namespace varnelko {

namespace {

std::string FileName(const FileOutcome& outcome) { return PathToUtf8(outcome.source.filename()); }

// The core gives its reasons in English; the line leads with a Japanese one.
std::string FailureLine(const FileOutcome& outcome) {
  std::string line = FileName(outcome) + ": ";
  switch (outcome.kind) {
    case FileOutcomeKind::kLoadFailed: line += "読み込めません"; break;
    case FileOutcomeKind::kWriteFailed: line += "書き込めません"; break;
    default: line += "変換できません"; break;
  }
  if (!outcome.error.empty()) line += " (" + outcome.error + ")";
  return line;
}

void AddLine(std::string& text, const std::string& line) {
  if (!text.empty()) text += '\n';
  text += line;
}

}  // namespace

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes) {
  RunReport report;
  std::string failures, skips;
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.kind == FileOutcomeKind::kConverted) {
      ++report.converted;
    } else if (outcome.kind == FileOutcomeKind::kSkipped) {
      ++report.skipped;
      AddLine(skips, FileName(outcome) + ": JWW/JWS 図面ではありません");
    } else if (outcome.kind == FileOutcomeKind::kNotStarted) {
      AddLine(skips, FileName(outcome) + ": 中止したため変換していません");
    } else {
      ++report.failed;
      AddLine(failures, FailureLine(outcome));
    }
  }
  report.summary = "変換できなかったファイルがあります。\n変換したファイル: " +
                   std::to_string(report.converted) + " 個\n変換できなかったファイル: " +
                   std::to_string(report.failed) +
                   " 個\n図面ではないので変換しなかったファイル: " +
                   std::to_string(report.skipped) + " 個";
  report.details = failures;
  if (!skips.empty()) AddLine(report.details, skips);
  return report;
}

}  // namespace varnelko
