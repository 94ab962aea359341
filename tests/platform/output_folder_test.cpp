// Files written into an output folder before they have a name.
#include "platform/output_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

// A file that is never named (the program stopped, or the write failed)
// leaves nothing behind; a name that is taken is refused without touching
// what has it; a free one shows all the bytes at once.
TEST(UnnamedFile, LeavesNothingUntilNamedAndNeverTakesAName) {
  TempDir dir;
  OutputFolder folder;
  std::string why;
  ASSERT_TRUE(folder.Open(dir.path(), why)) << why;
  const std::string_view pieces[] = {"new ", "bytes"};
  {
    UnnamedFile dropped;
    const std::error_code ec = folder.WriteUnnamed(pieces, nullptr, dropped);
    if (ec == std::errc::operation_not_supported) GTEST_SKIP() << "no unnamed files here";
    ASSERT_FALSE(ec) << ec.message();
    EXPECT_TRUE(fs::is_empty(dir.path()));
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));

  dir.Write("taken.jww", "old");
  UnnamedFile file;
  ASSERT_FALSE(folder.WriteUnnamed(pieces, nullptr, file));
  EXPECT_EQ(folder.Name(file, "taken.jww"), std::errc::file_exists);
  EXPECT_EQ(ReadFile(dir / "taken.jww"), "old");
  ASSERT_FALSE(folder.Name(file, "free.jww"));
  EXPECT_EQ(ReadFile(dir / "free.jww"), "new bytes");
  EXPECT_EQ(ReadFile(dir / "taken.jww"), "old");
}

}  // namespace
}  // namespace varnelko
