#pragma once
// The window fonts: the Japanese Windows fonts where they are installed,
// otherwise Japanese fonts of the same kind.
#include <QFont>

namespace varnelko {

QFont FixedPitchFont();    // "ＭＳ ゴシック" or a monospace CJK font
QFont ProportionalFont();  // "ＭＳ Ｐゴシック" or a proportional CJK font

}  // namespace varnelko
