#pragma once
#include <filesystem>
#include <string>

namespace varnelko {

// The drawing memo the file list shows for a file, chosen by its upper-cased
// extension (.JWC, .JWK, .JWW, .JW$, and backups .BAK / .BK?), cleaned of
// control bytes. Raw code page 932 bytes; empty when there is none.
std::string MemoForFile(const std::filesystem::path& path);

}  // namespace varnelko
