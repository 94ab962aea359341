#pragma once
// Identifiers of the main window's controls and menu commands, and the
// message its worker threads wake it with.
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
  kPreviewPane = 112,
  kProgressBar1 = 113,  // a conversion's progress, in the status bar
  kStopRun = 114,       // "中止" beside it
  kStartHint = 115,     // over the list while nothing is listed
};

enum MenuId : int {
  kMenuSearchFolder = 201,
  kMenuFileType0 = 210,  // 210..213 for the four file types
  kMenuOutputFolder = 220,
  kMenuExit = 221,
  kMenuSettings = 230,
  kMenuSetSave = 231,
  kMenuSetOpen = 232,
  kMenuPreview = 240,  // "表示 (&V)" → "プレビュー (&P)"
  kMenuRefresh = 241,  // "表示 (&V)" → "最新の情報に更新 (&R)"
  kMenuRecent0 = 250,  // 250..254 for the last search folders in "ファイル (&F)"
};

enum PostedMessage : UINT {
  kRunQueued = WM_APP + 1,  // functions from worker threads wait in the window's queue
};

}  // namespace varnelko::win32
