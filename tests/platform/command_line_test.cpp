#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "platform/path_text.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

using Names = std::vector<std::string>;

TEST(ExpandWildcards, MatchesTheLastPartOnWindowsAndLeavesItToTheShellElsewhere) {
  test::TempDir dir;
  for (const char* name : {"b.jww", "a.JWW", "c.jws", "平面図.jww", "x.txt", "a.jwwx"}) {
    dir.Write(name, "x");
  }
  const std::string folder = PathToUtf8(dir.path()) + "/";
  const Names given = {folder + "*.jww", folder + "?.jws", folder + "none*.jww", "plain.jww"};
  const Names expanded = platform::ExpandWildcards(given);
  if (!test::kOnWindows) {
    EXPECT_EQ(expanded, given);
    return;
  }
  // Letters match in either case; a name with no match stays, so that the
  // command can say it is missing.
  EXPECT_EQ(expanded, (Names{folder + "a.JWW", folder + "b.jww", folder + "平面図.jww",
                             folder + "c.jws", folder + "none*.jww", "plain.jww"}));
}

}  // namespace
}  // namespace varnelko
