#pragma once
// Where the program keeps its ini file, and the bridge between Qt's paths
// and the core's std::filesystem paths.
#include <QString>
#include <QUrl>
#include <filesystem>
#include <string_view>

namespace varnelko {

struct AppLocations {
  QString program_folder;  // folder of the executable, ending in a separator
  QString ini_path;        // "varnelko.ini"
};

// The ini file lives beside the executable when that folder is writable (a
// portable install), otherwise in the user's configuration folder.
AppLocations DefaultAppLocations();

// A folder text with a trailing separator added when it lacks one.
QString WithTrailingSeparator(const QString& folder);

// Paths that are not UTF-8 on disk keep their bytes through the round trip
// (Linux; Windows names are UTF-16 like QString).
std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);

// The file address the desktop opens `path` by.
QUrl LocalFileUrl(const QString& path);

}  // namespace varnelko
