#pragma once
// Identifiers of the main window's controls and menu commands, and the
// messages its worker threads post back to it.
#include <windows.h>

namespace varnelko::win32 {

enum ControlId : int {
  kEdit1 = 101,        // search folder
  kTreeView1 = 102,    // folder tree
  kComboBox1 = 103,    // file-type filter
  kButton1 = 104,      // "JWW/JWS設定"
  kEdit2 = 105,        // output folder
  kButton3 = 106,      // "参照"
  kButton4 = 107,      // "変換"
  kStringGrid1 = 108,  // file list
  kStatusBar1 = 109,
  kLabel1 = 110,
  kLabel2 = 111,
};

enum MenuId : int {
  kMenuSearchFolder = 201,
  kMenuFileType0 = 210,  // 210..213 for the four file types
  kMenuOutputFolder = 220,
  kMenuExit = 221,
  kMenuSettings = 230,
  kMenuSetSave = 231,
  kMenuSetOpen = 232,
  kMenuPreview = 240,
};

enum PostedMessage : UINT {
  kRowsListed = WM_APP + 1,  // wParam: listing number
  kMemosRead = WM_APP + 2,   // wParam: listing number
  kRunProgress = WM_APP + 3,
  kRunDone = WM_APP + 4,
};

}  // namespace varnelko::win32
