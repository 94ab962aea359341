// How output names are told apart in one folder.
#include "platform/file_names.h"

#include <gtest/gtest.h>

#include "platform/path_text.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;

struct NameCase {
  const char* a;
  const char* b;
  int linux_order;    // the sign CompareFileNames gives on Linux
  int windows_order;  // and on Windows
};

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareFileNames, FoldsCaseAsTheFolderDoes) {
  const NameCase cases[] = {
      {"a.jww", "A.JWW", 0, 0},
      {"a.jww", "b.jww", -1, -1},
      {"ab.jww", "a.jww", 1, 1},
      {"a", "a.jww", -1, -1},
      // Full-width letters are one name only where the file system folds them.
      {"\xEF\xBC\xA1.jww", "\xEF\xBD\x81.jww", -1, 0},
      // Code page 932 bytes and the same word in UTF-8 are two names on Linux.
      {"\x90\x7D.jww", "\xE5\x9B\xB3.jww", -1, -1},
  };
  for (const NameCase& c : cases) {
    const bool raw = c.a[0] == '\x90';
    if (raw && !test::kNamesCanBeRawBytes) continue;
    const fs::path a = raw ? fs::path(c.a) : PathFromUtf8(c.a), b = PathFromUtf8(c.b);
    const int expected = test::kOnWindows ? c.windows_order : c.linux_order;
    EXPECT_EQ(Sign(CompareFileNames(a, b)), expected) << c.a << " " << c.b;
    EXPECT_EQ(Sign(CompareFileNames(b, a)), -expected) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace varnelko
