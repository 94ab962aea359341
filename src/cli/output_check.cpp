#include "cli/output_check.h"

#include "platform/file_io.h"
#include "platform/native_file.h"

namespace varnelko::cli {
namespace fs = std::filesystem;

namespace {

bool StartsAsDrawing(const fs::path& path) {
  std::string head;
  return ReadFilePrefix(path, 8, head) &&
         (head.starts_with("JwwData.") || head.starts_with("JwsData"));
}

}  // namespace

std::string RefusedOutput(const fs::path& output, const std::vector<fs::path>& inputs,
                          bool may_replace_drawing) {
  const PathState state = LookAtPath(output);
  if (!state.exists) return {};
  for (const fs::path& input : inputs) {
    if (SameFile(state, LookAtPath(input))) {
      return "the output is the input file itself; write to another file";
    }
  }
  const std::string unreplaceable = UnreplaceableReason(state);
  if (!unreplaceable.empty()) return unreplaceable;
  if (!may_replace_drawing && StartsAsDrawing(output)) {
    return "the output is a drawing; it is not overwritten";
  }
  return {};
}

}  // namespace varnelko::cli
