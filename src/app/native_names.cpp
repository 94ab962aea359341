#include "app/native_names.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/app_paths.h"
#include "platform/path_text.h"

namespace varnelko {

namespace fs = std::filesystem;

namespace {

QDateTime LocalTime(const fs::file_time_type& time) {
  const auto since_epoch = std::chrono::file_clock::to_sys(time).time_since_epoch();
  return QDateTime::fromMSecsSinceEpoch(
      std::chrono::floor<std::chrono::milliseconds>(since_epoch).count());
}

// Links to folders are not followed, so a link back up cannot make the
// search go round; on Windows junctions are such links too.
bool Wanted(const fs::directory_entry& entry, const QFileInfo& info, EntryKind kind) {
  std::error_code error;
  if (kind == EntryKind::kFolders) {
    return entry.is_directory(error) && !entry.is_symlink(error) && !info.isSymLink() &&
           !info.isJunction();
  }
  return entry.is_regular_file(error);
}

}  // namespace

QString ShownName(const QString& name) {
  return QString::fromStdString(PathToUtf8(ToFsPath(name)));
}

QString ShownPath(const QString& path) {
  QStringList parts = path.split(QLatin1Char('/'));
  for (QString& part : parts) part = ShownName(part);
  return parts.join(QLatin1Char('/'));
}

std::vector<FolderEntry> ListFolder(const QString& folder, EntryKind kind, const QString& mask) {
  const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(mask),
                                   QRegularExpression::CaseInsensitiveOption);
  std::vector<FolderEntry> entries;
  std::error_code error;
  for (fs::directory_iterator it(ToFsPath(folder), error), end; !error && it != end;
       it.increment(error)) {
    // Hidden as the system has it: a leading "." on Linux, the attribute on Windows.
    const QFileInfo info(FromFsPath(it->path()));
    if (info.isHidden() || !Wanted(*it, info, kind)) continue;
    FolderEntry entry;
    entry.name = FromFsPath(it->path().filename());
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
