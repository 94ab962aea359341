#include "win32/accelerators.h"

#include <string_view>
#include <vector>

#include "platform/wide_text.h"
#include "win32/control_ids.h"

namespace varnelko::win32 {

namespace {

struct CommandId {
  Command command;
  WORD id;
};

constexpr CommandId kCommandIds[] = {
    {Command::kChooseSearchFolder, kMenuSearchFolder},
    {Command::kRefresh, kMenuRefresh},
    {Command::kConvert, kButton4},
    {Command::kSaveSettings, kMenuSetSave},
    {Command::kExit, kMenuExit},
};

std::optional<WORD> VirtualKey(std::string_view name) {
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
    return static_cast<WORD>(name[0]);
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = 0;
    for (const char c : name.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
    return std::nullopt;
  }
  constexpr std::pair<std::string_view, WORD> kNamed[] = {
      {"Return", VK_RETURN}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},
      {"Delete", VK_DELETE}, {"Space", VK_SPACE},  {"Tab", VK_TAB},
  };
  for (const auto& [text, key] : kNamed) {
    if (name == text) return key;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ACCEL> AcceleratorOf(const char* key, WORD id) {
  std::string_view rest = key;
  BYTE flags = FVIRTKEY;
  constexpr std::pair<std::string_view, BYTE> kModifiers[] = {
      {"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, flag] : kModifiers) {
      if (rest.starts_with(prefix) && rest.size() > prefix.size()) {
        flags |= flag;
        rest.remove_prefix(prefix.size());
        found = true;
      }
    }
  }
  const std::optional<WORD> virtual_key = VirtualKey(rest);
  if (!virtual_key) return std::nullopt;
  return ACCEL{flags, *virtual_key, id};
}

HACCEL CreateCommandAccelerators() {
  std::vector<ACCEL> table;
  for (const CommandId& entry : kCommandIds) {
    if (const auto accel = AcceleratorOf(KeyOf(entry.command), entry.id)) table.push_back(*accel);
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

std::wstring MenuItemText(const wchar_t* label, Command command) {
  const std::string key = KeyOf(command);
  return key.empty() ? label : std::wstring(label) + L"\t" + WideFromUtf8(key);
}

}  // namespace varnelko::win32
