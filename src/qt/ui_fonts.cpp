#include "qt/ui_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace varnelko {

namespace {

constexpr int kPointSize = 10;

QFont FirstInstalled(const QStringList& families, QFont::StyleHint hint) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : families) {
    if (installed.contains(family)) return QFont(family, kPointSize);
  }
  QFont fallback;
  fallback.setStyleHint(hint);
  fallback.setPointSize(kPointSize);
  return fallback;
}

}  // namespace

QFont FixedPitchFont() {
  return FirstInstalled({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                         QStringLiteral("Noto Sans Mono CJK JP")},
                        QFont::Monospace);
}

QFont ProportionalFont() {
  return FirstInstalled({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                         QStringLiteral("Noto Sans CJK JP")},
                        QFont::SansSerif);
}

}  // namespace varnelko
