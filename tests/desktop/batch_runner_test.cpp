#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "desktop/batch_runner.h"
#include "desktop/run_report.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

BatchRequest Request(const TempDir& temp, int drawings) {
  BatchRequest request;
  for (int i = 0; i < drawings; ++i) {
    request.sources.push_back(temp.path() / ("d" + std::to_string(i) + ".jww"));
    WriteLayeredDrawing(request.sources.back(), 200);
  }
  request.output_folder = temp.path() / "out";
  fs::create_directories(request.output_folder);
  request.settings.C(1) = 1, request.settings.C(2) = 3, request.settings.C(3) = 1;
  return request;
}

TEST(BatchRunnerTest, AStoppedRunFinishesWhatItStartedAndCountsTheRestAsNotStarted) {
  TempDir temp;
  UiQueue ui;
  BatchRunner runner(ui.Post());
  std::vector<FileOutcome> outcomes;
  bool finished = false;
  BatchRequest request = Request(temp, 40);
  request.jobs = 1;
  runner.Start(request, {nullptr, nullptr, [&](const std::vector<FileOutcome>& o) {
                           outcomes = o;
                           finished = true;
                         }});
  EXPECT_TRUE(runner.Running());
  runner.Stop();  // at most the file in progress finishes
  ASSERT_TRUE(ui.RunUntil([&] { return finished; }));
  EXPECT_FALSE(runner.Running());
  EXPECT_TRUE(runner.Stopped());
  const RunReport report = MakeRunReport(outcomes);
  // How far the worker got before the stop depends on the scheduler; that
  // it left files unstarted does not.
  EXPECT_GT(report.not_started, 0);
  EXPECT_EQ(report.converted + report.not_started, 40);
  EXPECT_EQ(report.failed, 0);
  EXPECT_EQ(RunStatusText(report, true), "変換作業を中止しました。");
  EXPECT_NE(RunCountsText(report).find("未着手 " + std::to_string(report.not_started)),
            std::string::npos);

  // The runner runs again, to the end this time.
  finished = false;
  runner.Start(Request(temp, 2), {nullptr, nullptr, [&](const std::vector<FileOutcome>& o) {
                                    outcomes = o;
                                    finished = true;
                                  }});
  ASSERT_TRUE(ui.RunUntil([&] { return finished; }));
  EXPECT_FALSE(runner.Stopped());
  EXPECT_EQ(MakeRunReport(outcomes).converted, 2);
}

TEST(BatchRunnerTest, CountsSayWhatChangedWhatDidNotAndWhatFailed) {
  std::vector<FileOutcome> outcomes(4);
  outcomes[0].kind = outcomes[1].kind = FileOutcomeKind::kConverted;
  outcomes[0].counts.colors = 3;  // the second had nothing on the layer
  outcomes[2].kind = FileOutcomeKind::kSkipped;
  outcomes[3].kind = FileOutcomeKind::kLoadFailed;
  const RunReport report = MakeRunReport(outcomes);
  EXPECT_EQ(RunCountsText(report), "変換 2（変更なし 1）  スキップ 1  失敗 1");
  EXPECT_EQ(RunStatusText(report, false), "変換作業を完了しました。1 個のファイルを変換できませんでした。");
  EXPECT_EQ(FailureListText(report.rows), "\t読み込めません\n\tJWW/JWS 図面ではありません\n");
}

}  // namespace
}  // namespace varnelko::test
