#include <gtest/gtest.h>

#include <vector>

#include "desktop/run_report.h"

namespace varnelko::test {
namespace {

TEST(RunReportTest, EveryFileThatCouldNotBeConvertedIsAFailure) {
  std::vector<FileOutcome> outcomes(5);
  const auto outcome = [](const char* source, FileOutcomeKind kind, const char* error = "") {
    FileOutcome o;
    o.source = source;
    o.kind = kind;
    o.error = error;
    return o;
  };
  outcomes[0] = outcome("/d/ok.jww", FileOutcomeKind::kConverted);
  outcomes[1] = outcome("/d/\x95\x5C.jww", FileOutcomeKind::kWriteFailed,
                        "cannot write: No space left on device");
  outcomes[2] = outcome("/d/notes.txt", FileOutcomeKind::kSkipped);
  outcomes[3] = outcome("/d/gone.jws", FileOutcomeKind::kLoadFailed);
  outcomes[4] = outcome("/d/later.jww", FileOutcomeKind::kNotStarted);  // a stopped run
  const RunReport report = MakeRunReport(outcomes);
  EXPECT_EQ(report.converted, 1);
  EXPECT_EQ(report.failed, 2);
  EXPECT_EQ(report.skipped, 1);
  EXPECT_EQ(report.details,
            "表.jww: 書き込めません (cannot write: No space left on device)\n"
            "gone.jws: 読み込めません\n"
            "notes.txt: JWW/JWS 図面ではありません\n"
            "later.jww: 中止したため変換していません");
  EXPECT_EQ(report.summary,
            "変換できなかったファイルがあります。\n変換したファイル: 1 個\n"
            "変換できなかったファイル: 2 個\n図面ではないので変換しなかったファイル: 1 個");
}

}  // namespace
}  // namespace varnelko::test
