#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/drop_plan.h"
#include "desktop/window_state.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

TEST(DropPlanTest, FoldersAndFilesGoWhereTheyWereDropped) {
  TempDir temp;
  const fs::path a = temp.path() / "a", b = temp.path() / "b";
  fs::create_directories(a);
  fs::create_directories(b);
  temp.Write("a/1.jww", "x");
  temp.Write("a/2.jws", "x");
  temp.Write("b/3.jww", "x");
  const fs::path a_slash = WithTrailingSeparator(a);
  struct Case {
    std::vector<fs::path> dropped;
    DropZone zone;
    DropAction action;
    fs::path folder;
    std::vector<fs::path> names;
  };
  const Case cases[] = {
      {{}, DropZone::kWindow, DropAction::kNone, {}, {}},
      {{a}, DropZone::kWindow, DropAction::kSearchFolder, a_slash, {}},
      {{a_slash}, DropZone::kFileList, DropAction::kSearchFolder, a_slash, {}},
      {{a / "1.jww", a / "2.jws"}, DropZone::kFileList, DropAction::kShowFiles, a_slash,
       {"1.jww", "2.jws"}},
      {{a / "1.jww", b / "3.jww"}, DropZone::kFileList, DropAction::kRefuse, {}, {}},
      {{a, b}, DropZone::kWindow, DropAction::kRefuse, {}, {}},
      {{a, a / "1.jww"}, DropZone::kWindow, DropAction::kRefuse, {}, {}},
      {{b}, DropZone::kOutputFolder, DropAction::kOutputFolder, WithTrailingSeparator(b), {}},
      {{a / "1.jww"}, DropZone::kOutputFolder, DropAction::kOutputFolder, a_slash, {}},
  };
  for (const Case& c : cases) {
    const DropPlan plan = PlanDrop(c.dropped, c.zone);
    EXPECT_EQ(plan.action, c.action) << c.dropped.size() << " dropped";
    EXPECT_EQ(plan.folder, c.folder);
    EXPECT_EQ(plan.names, c.names);
    EXPECT_EQ(plan.message.empty(), c.action != DropAction::kRefuse);
  }
}

}  // namespace
}  // namespace varnelko::test
