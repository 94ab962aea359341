#pragma once
// Everything the main window remembers between events, in one place.
#include <QString>

#include "conversion/conversion_settings.h"

namespace varnelko {

struct MainWindowState {
  bool tree_ready = false;       // a folder search has produced a tree
  bool list_shown = false;       // the file list holds at least one file row
  bool sort_descending = false;  // the next header-click sort is descending
  bool cancel = false;           // Escape stopped the running folder search
  bool busy = false;             // a search, listing or conversion is running

  QString program_folder;  // ends in a separator
  QString ini_path;
  QString search_folder;   // root of the tree, ends in a separator
  QString output_folder;   // ends in a separator when chosen with the chooser
  QString settings_file;   // last ".set" file saved or opened
  // The folder whose files the list shows. Commands on the list use it, so
  // that moving the tree selection without listing cannot point them at the
  // same names in another folder.
  QString listed_folder;

  int pane_width = 160;  // left pane, as the user last set it
  int preview_height = 200;  // preview pane, as the user last set it
  ConversionSettings settings;
};

}  // namespace varnelko
