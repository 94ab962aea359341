#pragma once
// Everything the main window remembers between events, in one place, the
// same for every window toolkit.
#include <filesystem>

#include "conversion/conversion_settings.h"

namespace varnelko {

struct WindowState {
  bool tree_ready = false;       // a folder search has produced a tree
  bool list_shown = false;       // the file list holds at least one file row
  bool sort_descending = false;  // the next header-click sort is descending
  bool cancel = false;           // Escape stopped the running folder search
  bool busy = false;             // a search, listing or conversion is running

  std::filesystem::path program_folder;  // ends in a separator
  std::filesystem::path ini_path;
  std::filesystem::path search_folder;   // root of the tree, ends in a separator
  std::filesystem::path output_folder;   // ends in a separator when chosen with the chooser
  std::filesystem::path settings_file;   // last ".set" file saved or opened
  // The folder whose files the list shows. Commands on the list use it, so
  // that moving the tree selection without listing cannot point them at the
  // same names in another folder.
  std::filesystem::path listed_folder;

  int pane_width = 160;      // left pane, as the user last set it
  int preview_height = 200;  // preview pane, as the user last set it
  ConversionSettings settings;
};

// `folder` with a trailing separator added when it lacks one.
std::filesystem::path WithTrailingSeparator(const std::filesystem::path& folder);

}  // namespace varnelko
