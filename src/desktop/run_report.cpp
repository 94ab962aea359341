#include "desktop/run_report.h"

#include "desktop/failure_reasons.h"
#include "platform/path_text.h"

namespace varnelko {

namespace {

std::string FileName(const FileOutcome& outcome) { return PathToUtf8(outcome.source.filename()); }

// The core's reason in Japanese; one the table does not know follows the
// kind of failure.
std::string FailureReason(const FileOutcome& outcome) {
  const std::string japanese = JapaneseReason(outcome.error);
  if (!outcome.error.empty() && japanese != outcome.error) return japanese;
  std::string reason;
  switch (outcome.kind) {
    case FileOutcomeKind::kLoadFailed: reason = "読み込めません"; break;
    case FileOutcomeKind::kWriteFailed: reason = "書き込めません"; break;
    default: reason = "変換できません"; break;
  }
  if (!outcome.error.empty()) reason += " (" + outcome.error + ")";
  return reason;
}

void AddLine(std::string& text, const std::string& line) {
  if (!text.empty()) text += '\n';
  text += line;
}

}  // namespace

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes) {
  RunReport report;
  std::vector<FailureRow> skips;
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.kind == FileOutcomeKind::kConverted) {
      ++report.converted;
      if (outcome.counts.colors == 0 && outcome.counts.styles == 0) ++report.unchanged;
    } else if (outcome.kind == FileOutcomeKind::kSkipped) {
      ++report.skipped;
      skips.push_back({FileName(outcome), "JWW/JWS 図面ではありません"});
    } else if (outcome.kind == FileOutcomeKind::kNotStarted) {
      ++report.not_started;
      skips.push_back({FileName(outcome), "中止したため変換していません"});
    } else {
      ++report.failed;
      report.rows.push_back({FileName(outcome), FailureReason(outcome)});
    }
  }
  report.rows.insert(report.rows.end(), skips.begin(), skips.end());
  for (const FailureRow& row : report.rows) AddLine(report.details, row.name + ": " + row.reason);
  report.summary = "変換できなかったファイルがあります。\n変換したファイル: " +
                   std::to_string(report.converted) + " 個\n変換できなかったファイル: " +
                   std::to_string(report.failed) +
                   " 個\n図面ではないので変換しなかったファイル: " +
                   std::to_string(report.skipped) + " 個";
  if (report.not_started > 0) {
    report.summary += "\n中止したため変換していないファイル: " + std::to_string(report.not_started) + " 個";
  }
  return report;
}

std::string RunStatusText(const RunReport& report, bool stopped) {
  std::string text = stopped ? "変換作業を中止しました。" : "変換作業を完了しました。";
  if (report.failed > 0) text += std::to_string(report.failed) + " 個のファイルを変換できませんでした。";
  return text;
}

std::string RunCountsText(const RunReport& r) {
  std::string text = "変換 " + std::to_string(r.converted);
  if (r.unchanged > 0) text += "（変更なし " + std::to_string(r.unchanged) + "）";
  text += "  スキップ " + std::to_string(r.skipped) + "  失敗 " + std::to_string(r.failed);
  if (r.not_started > 0) text += "  未着手 " + std::to_string(r.not_started);
  return text;
}

std::string FailureListText(const std::vector<FailureRow>& rows) {
  std::string text;
  for (const FailureRow& row : rows) text += row.name + '\t' + row.reason + '\n';
  return text;
}

}  // namespace varnelko
