#include "desktop/shortcuts.h"

namespace varnelko {

namespace {

// Opening a ".set" file keeps no key: Ctrl+O chooses the search folder, the
// command a user of this window opens most.
constexpr CommandKey kKeys[] = {
    {Command::kChooseSearchFolder, "Ctrl+O"},
    {Command::kRefresh, "F5"},
    {Command::kConvert, "Ctrl+Return"},
    {Command::kOpenRow, "Return"},
    {Command::kSaveSettings, "Ctrl+S"},
    {Command::kExit, "Ctrl+Q"},
    {Command::kCancelRun, "Esc"},
};

}  // namespace

std::span<const CommandKey> CommandKeys() { return kKeys; }

const char* KeyOf(Command command) {
  for (const CommandKey& key : kKeys) {
    if (key.command == command) return key.key;
  }
  return "";
}

}  // namespace varnelko
