#include "cli/conversion_options.h"

#include <charconv>
#include <system_error>

namespace varnelko::cli {
namespace {

// The six switches C3..C8, in slot order.
constexpr std::array<const char*, 6> kSwitchNames = {
    "color", "linetype", "dim-color", "block-color", "dim-linetype", "block-linetype"};

// "0".."15", one hexadecimal digit "0".."F", or "all" / "16" (every one).
std::optional<int32_t> ParseLayerSlot(const std::string& text) {
  if (text == "all" || text == "ALL" || text == "All") return kAllLayers;
  if (text.size() == 1) {
    char c = text[0];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
  }
  if (text.size() == 2 && text[0] == '1' && text[1] >= '0' && text[1] <= '6') {
    return 10 + (text[1] - '0');
  }
  return std::nullopt;
}

// The value of a switch: a bare flag is on; true/false, on/off, yes/no
// (any letter case) or a whole number "=N", stored as it is. Anything else
// is refused rather than read as 0.
std::optional<int> SwitchValue(const std::string& v) {
  std::string word = v;
  for (char& c : word) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (word.empty() || word == "true" || word == "on" || word == "yes") return 1;
  if (word == "false" || word == "off" || word == "no") return 0;
  return WholeNumber(v);
}

CLI::Validator SwitchWord() {
  return CLI::Validator(
      [](std::string& v) {
        return SwitchValue(v) ? std::string()
                              : "expects on/off, true/false, yes/no or a whole number, not " + v;
      },
      "");
}

}  // namespace

std::optional<int> WholeNumber(const std::string& text) {
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

bool ConversionOptions::Given() const {
  if (!settings_file.empty() || !group.empty() || !layer.empty()) return true;
  for (const std::optional<int>& s : switches) {
    if (s) return true;
  }
  return false;
}

void AddConversionOptions(CLI::App* cmd, const std::shared_ptr<ConversionOptions>& options) {
  cmd->add_option("--settings", options->settings_file,
                  "A .set file (or the program's ini) read first, exactly as stored");
  cmd->add_option("--group", options->group, "Target layer group: 0-15, 0-F or all (C1)");
  cmd->add_option("--layer", options->layer, "Target layer: 0-15, 0-F or all (C2)");
  for (size_t i = 0; i < kSwitchNames.size(); ++i) {
    std::string name = kSwitchNames[i];
    // --color turns C3 on, --color=N stores N as it is, --no-color turns it off.
    // A flag never takes the next word, so a path after it stays a path.
    cmd->add_flag("--" + name)
        ->description("Switch C" + std::to_string(i + 3) + " on (or =N)")
        ->check(SwitchWord())
        ->each([options, i](const std::string& v) { options->switches[i] = SwitchValue(v); })
        ->trigger_on_parse();  // in command-line order, so the last of --x / --no-x wins
    cmd->add_flag_callback("--no-" + name, [options, i] { options->switches[i] = 0; },
                           "Switch C" + std::to_string(i + 3) + " off")
        ->trigger_on_parse();
  }
}

std::optional<ConversionSettings> ResolveConversionSettings(const ConversionOptions& o,
                                                            std::string& why) {
  ConversionSettings s;
  std::string reason;
  if (!o.settings_file.empty() && !LoadSettingsFile(o.settings_file, s, &reason)) {
    why = "cannot read the settings file " + o.settings_file + ": " + reason;
    return std::nullopt;
  }
  for (auto [slot, text] : {std::pair{1, &o.group}, std::pair{2, &o.layer}}) {
    if (text->empty()) continue;
    std::optional<int32_t> v = ParseLayerSlot(*text);
    if (!v) {
      why = "a layer group or layer is 0-15, a hexadecimal digit 0-F or all: " + *text;
      return std::nullopt;
    }
    s.C(slot) = *v;
  }
  for (size_t i = 0; i < o.switches.size(); ++i) {
    if (o.switches[i]) s.C(static_cast<int>(i) + 3) = *o.switches[i];
  }
  return s;
}

}  // namespace varnelko::cli
