#include "win32/run_report.h"

#include "platform/path_text.h"

namespace varnelko::win32 {

namespace {

std::string FileName(const FileOutcome& outcome) { return PathToUtf8(outcome.source.filename()); }

// The core gives its reasons in English; the line leads with a Japanese one.
std::string FailureLine(const FileOutcome& outcome) {
  std::string line = FileName(outcome) + ": ";
  line += outcome.kind == FileOutcomeKind::kLoadFailed    ? "読み込めません"
          : outcome.kind == FileOutcomeKind::kWriteFailed ? "書き込めません"
                                                          : "変換できません";
  if (!outcome.error.empty()) line += " (" + outcome.error + ")";
  return line;
}

}  // namespace

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes) {
  RunReport report;
  std::string failures, skips;
  for (const FileOutcome& outcome : outcomes) {
    switch (outcome.kind) {
      case FileOutcomeKind::kConverted: ++report.converted; break;
      case FileOutcomeKind::kSkipped:
        ++report.skipped;
        skips += FileName(outcome) + ": JWW/JWS 図面ではありません\n";
        break;
      case FileOutcomeKind::kNotStarted:
        ++report.not_started;
        skips += FileName(outcome) + ": 中止したため変換していません\n";
        break;
      default:
        ++report.failed;
        failures += FailureLine(outcome) + "\n";
        break;
    }
  }
  report.status = "変換作業を完了しました。";
  if (report.not_started > 0) {
    report.status = "変換を中止しました。" + std::to_string(report.converted) + " 個を変換し、" +
                    std::to_string(report.not_started) + " 個は変換していません。";
  }
  if (report.failed > 0) {
    report.status += std::to_string(report.failed) + " 個のファイルを変換できませんでした。";
  }
  report.summary = std::string(report.failed > 0 ? "変換できなかったファイルがあります。\n"
                                                 : "変換を中止しました。\n") +
                   "変換したファイル: " + std::to_string(report.converted) + " 個\n" +
                   "変換できなかったファイル: " + std::to_string(report.failed) + " 個\n" +
                   "図面ではないので変換しなかったファイル: " + std::to_string(report.skipped) +
                   " 個\n中止したため変換していないファイル: " +
                   std::to_string(report.not_started) + " 個";
  report.details = failures + skips;
  if (!report.details.empty()) report.details.pop_back();
  return report;
}

}  // namespace varnelko::win32
