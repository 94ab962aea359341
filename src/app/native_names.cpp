#include "app/native_names.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/app_paths.h"
#include "document/cp932.h"

namespace varnelko {

namespace fs = std::filesystem;

namespace {

QDateTime LocalTime(const fs::file_time_type& time) {
  const auto since_epoch = std::chrono::file_clock::to_sys(time).time_since_epoch();
  return QDateTime::fromMSecsSinceEpoch(
      std::chrono::floor<std::chrono::milliseconds>(since_epoch).count());
}

bool Wanted(const fs::directory_entry& entry, EntryKind kind) {
  std::error_code error;
  if (kind == EntryKind::kFolders) return entry.is_directory(error) && !entry.is_symlink(error);
  return entry.is_regular_file(error);
}

}  // namespace

QString ShownName(const QString& name) {
  const std::string bytes = ToFsPath(name).native();
  if (IsUtf8(bytes)) return QString::fromStdString(bytes);
  return QString::fromStdString(Cp932ToUtf8(bytes));
}

QString ShownPath(const QString& path) {
  QStringList parts = path.split(QDir::separator());
  for (QString& part : parts) part = ShownName(part);
  return parts.join(QDir::separator());
}

std::vector<FolderEntry> ListFolder(const QString& folder, EntryKind kind, const QString& mask) {
  const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(mask),
                                   QRegularExpression::CaseInsensitiveOption);
  std::vector<FolderEntry> entries;
  std::error_code error;
  for (fs::directory_iterator it(ToFsPath(folder), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().native();
    if (name.starts_with('.') || !Wanted(*it, kind)) continue;
    FolderEntry entry;
    entry.name = FromFsPath(name);
    entry.shown = ShownName(entry.name);
    if (!pattern.match(entry.shown).hasMatch()) continue;
    if (kind == EntryKind::kFiles) {
      std::error_code ignored;
      entry.size = static_cast<int64_t>(it->file_size(ignored));
      entry.modified = LocalTime(it->last_write_time(ignored));
      const fs::perms perms = fs::status(it->path(), ignored).permissions();
      entry.read_only = (perms & fs::perms::owner_write) == fs::perms::none;
    }
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    const int order = a.shown.compare(b.shown, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a.name < b.name;  // the disk's order is no order
  });
  return entries;
}

}  // namespace varnelko
