#pragma once
// The windows speak Japanese: the core's reasons for a failed file (English,
// as the command line shows them) translated by their kind, with the
// system's own words and the byte offset kept.
#include <string>

namespace varnelko {

// "truncated: 8 bytes needed, 3 left at offset 120" gives
// "ファイルが途中で切れています（オフセット 120）"; a reason the table does not
// know stays as it is.
std::string JapaneseReason(const std::string& reason);

}  // namespace varnelko
