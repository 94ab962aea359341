#include "app/run_report.h"

#include <QStringList>

#include "app/app_paths.h"
#include "app/native_names.h"

namespace varnelko {

namespace {

QString FileName(const FileOutcome& outcome) {
  return ShownName(FromFsPath(outcome.source.filename()));
}

// The core gives its reasons in English; the line leads with a Japanese one.
QString FailureLine(const FileOutcome& outcome) {
  QString line = FileName(outcome) + QStringLiteral(": ");
  switch (outcome.kind) {
    case FileOutcomeKind::kLoadFailed: line += QStringLiteral("読み込めません"); break;
    case FileOutcomeKind::kWriteFailed: line += QStringLiteral("書き込めません"); break;
    default: line += QStringLiteral("変換できません"); break;
  }
  if (!outcome.error.empty()) line += " (" + QString::fromStdString(outcome.error) + ")";
  return line;
}

}  // namespace

RunReport MakeRunReport(const std::vector<FileOutcome>& outcomes) {
  RunReport report;
  QStringList failures;
  QStringList skips;
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.kind == FileOutcomeKind::kConverted) {
      ++report.converted;
    } else if (outcome.kind == FileOutcomeKind::kSkipped) {
      ++report.skipped;
      skips << FileName(outcome) + QStringLiteral(": JWW/JWS 図面ではありません");
    } else if (outcome.kind == FileOutcomeKind::kNotStarted) {
      skips << FileName(outcome) + QStringLiteral(": 中止したため変換していません");
    } else {
      ++report.failed;
      failures << FailureLine(outcome);
    }
  }
  report.summary = QStringLiteral("変換できなかったファイルがあります。\n") +
                   QStringLiteral("変換したファイル: %1 個\n").arg(report.converted) +
                   QStringLiteral("変換できなかったファイル: %1 個\n").arg(report.failed) +
                   QStringLiteral("図面ではないので変換しなかったファイル: %1 個").arg(report.skipped);
  report.details = (failures + skips).join(QLatin1Char('\n'));
  return report;
}

}  // namespace varnelko
