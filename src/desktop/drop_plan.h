#pragma once
// What a drop of files or folders on the window does, the same for every
// toolkit: the window tells where it landed and what was dropped.
#include <filesystem>
#include <string>
#include <vector>

namespace varnelko {

enum class DropZone {
  kWindow,        // anywhere but the two below
  kFileList,      // the file list
  kOutputFolder,  // the output folder field
};

enum class DropAction {
  kNone,             // nothing usable was dropped
  kSearchFolder,     // search `folder` and list it
  kShowFiles,        // search and list `folder`, then select `names`
  kOutputFolder,     // `folder` becomes the output folder
  kRefuse,           // beep and say `message` in the status bar
};

struct DropPlan {
  DropAction action = DropAction::kNone;
  std::filesystem::path folder;              // with a trailing separator
  std::vector<std::filesystem::path> names;  // kShowFiles: the dropped files' names
  std::string message;                       // kRefuse
};

// A folder dropped on the output field becomes the output folder (a file
// there stands for its folder); elsewhere a folder becomes the search folder.
// Files dropped elsewhere are shown in their folder and selected; files of
// several folders, or files with folders, are refused, as one list shows
// one folder.
DropPlan PlanDrop(const std::vector<std::filesystem::path>& dropped, DropZone zone);

}  // namespace varnelko
