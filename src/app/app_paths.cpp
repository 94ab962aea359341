#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace varnelko {

namespace {

const QString kIniName = QStringLiteral("varnelko.ini");

}  // namespace

QString WithTrailingSeparator(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith(QDir::separator())) return folder;
  return folder + QDir::separator();
}

AppLocations DefaultAppLocations() {
  AppLocations locations;
  locations.program_folder = WithTrailingSeparator(QCoreApplication::applicationDirPath());
  if (QFileInfo(locations.program_folder).isWritable()) {
    locations.ini_path = locations.program_folder + kIniName;
    return locations;
  }
  const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(config);
  locations.ini_path = WithTrailingSeparator(config) + kIniName;
  return locations;
}

std::filesystem::path ToFsPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString FromFsPath(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace varnelko
