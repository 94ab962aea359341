#pragma once
// The keys of the window's commands, the same in every window: each window
// turns the key text ("Ctrl+O", "Ctrl+Return", "F5", "Return", "Esc") into
// its toolkit's shortcut or accelerator.
#include <span>

namespace varnelko {

enum class Command {
  kChooseSearchFolder,  // "検索フォルダの指定"
  kRefresh,             // list the folder again, search the tree again
  kConvert,             // the convert button
  kOpenRow,             // the current row, as a double-click opens it
  kSaveSettings,        // "現在の設定を保存"
  kExit,                // "終了"
  kCancelRun,           // stops a running conversion
};

struct CommandKey {
  Command command;
  const char* key;  // modifiers "Ctrl+", "Shift+", "Alt+" then one key name
};

std::span<const CommandKey> CommandKeys();
// The key of `command`; empty when it has none.
const char* KeyOf(Command command);

}  // namespace varnelko
