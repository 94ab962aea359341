#include "qt/app_paths.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QUrl>

#include "document/cp932.h"
#include "platform/path_text.h"

namespace varnelko {

AppLocations DefaultAppLocations() {
  return ChooseAppLocations(
      ToFsPath(QCoreApplication::applicationDirPath()),
      ToFsPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
}

QString Shown(const std::filesystem::path& path) { return Utf8(PathToUtf8(path)); }

#if defined(_WIN32)

// Windows names are UTF-16, as QString is: nothing to carry over.
std::filesystem::path ToFsPath(const QString& path) {
  return std::filesystem::path(path.toStdWString());
}

QString FromFsPath(const std::filesystem::path& path) {
  return QString::fromStdWString(path.native());
}

QUrl LocalFileUrl(const std::filesystem::path& path) {
  return QUrl::fromLocalFile(FromFsPath(path));
}

#else

// A byte of a path that is not UTF-8 rides in a path text as the lone low
// surrogate U+DC80..U+DCFF, which no UTF-8 text produces, so the text turns
// back into the very bytes it came from.
constexpr char16_t kRawByteBase = 0xDC00;

std::filesystem::path ToFsPath(const QString& path) {
  std::string bytes;
  qsizetype run = 0;  // start of the text not yet encoded
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t unit = path[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (unit < kRawByteBase + 0x80 || unit > kRawByteBase + 0xFF) continue;
    bytes += path.mid(run, i - run).toStdString();
    bytes += static_cast<char>(unit - kRawByteBase);
    run = i + 1;
  }
  bytes += path.mid(run).toStdString();
  return std::filesystem::path(std::move(bytes));
}

QString FromFsPath(const std::filesystem::path& path) {
  const std::string& bytes = path.native();
  if (IsUtf8(bytes)) return QString::fromStdString(bytes);
  QString text;
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    text += value < 0x80 ? QChar(value) : QChar(char16_t(kRawByteBase + value));
  }
  return text;
}

// The address carries the bytes on disk, which need not be UTF-8.
QUrl LocalFileUrl(const std::filesystem::path& path) {
  const QByteArray bytes = QByteArray::fromStdString(path.native());
  return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
}

#endif

}  // namespace varnelko
