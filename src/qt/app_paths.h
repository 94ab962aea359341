#pragma once
// Where the Qt program keeps its ini file, and the bridge between Qt's
// paths and the layer's std::filesystem paths.
#include <QString>
#include <QUrl>
#include <filesystem>

#include "desktop/app_locations.h"

namespace varnelko {

// Beside the executable when that folder accepts new files, otherwise in
// the user's configuration folder.
AppLocations DefaultAppLocations();

// Paths that are not UTF-8 on disk keep their bytes through the round trip
// (Linux; Windows names are UTF-16 like QString).
std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);

// What the user sees of a path or name: a part that is not UTF-8 on disk
// is read as code page 932.
QString Shown(const std::filesystem::path& path);
// A UTF-8 text of the layer as a QString.
inline QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The file address the desktop opens `path` by.
QUrl LocalFileUrl(const std::filesystem::path& path);

}  // namespace varnelko
