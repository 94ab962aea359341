#pragma once
// The conversion options that every subcommand taking settings shares:
// --settings FILE, --group, --layer and the six switches C3..C8.
#include <CLI/CLI.hpp>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "conversion/conversion_settings.h"

namespace varnelko::cli {

struct ConversionOptions {
  std::string settings_file;
  std::string group, layer;
  std::array<std::optional<int>, 6> switches;  // C3..C8 when given

  // True when any option was given, so that a command can tell "convert
  // with these" from "no conversion asked for".
  bool Given() const;
};

// A whole number and nothing else: "2x" or "1.5" is no number.
std::optional<int> WholeNumber(const std::string& text);

// Registers the options on `cmd`; they fill `options` while parsing.
void AddConversionOptions(CLI::App* cmd, const std::shared_ptr<ConversionOptions>& options);

// Settings from the file first, exactly as stored; explicit options win.
// Nothing, with `why`, when the file cannot be read or a slot is invalid.
std::optional<ConversionSettings> ResolveConversionSettings(const ConversionOptions& o,
                                                            std::string& why);

}  // namespace varnelko::cli
