#pragma once
// Names on disk are bytes. Drawings unpacked from Windows archives often keep
// code page 932 names, which are not UTF-8; the window lists them, shows them
// decoded, and turns them back into the same bytes for every command.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace varnelko {

// Tree nodes and name cells keep the entry's name as a path text here; the
// shown text may differ from it.
constexpr int kNativeNameRole = Qt::UserRole;

// What the user sees for a name or a path: a part that is not UTF-8 on disk
// is read as code page 932; every other part is shown as it stands.
QString ShownName(const QString& name);
QString ShownPath(const QString& path);

struct FolderEntry {
  QString name;   // turns back into the bytes on disk through ToFsPath
  QString shown;  // ShownName(name)
  int64_t size = 0;
  QDateTime modified;  // local time
  bool read_only = false;
};

enum class EntryKind {
  kFiles,    // plain files and links to them
  kFolders,  // folders, not links to them
};

// The entries of `folder` of one kind, hidden ones left out, whose shown
// names match the wildcard `mask` regardless of letter case, sorted by the
// shown names regardless of letter case. An unreadable folder lists nothing.
std::vector<FolderEntry> ListFolder(const QString& folder, EntryKind kind,
                                    const QString& mask = QStringLiteral("*"));

}  // namespace varnelko
