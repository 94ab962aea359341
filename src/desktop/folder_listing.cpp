#include "desktop/folder_listing.h"

#include <algorithm>
#include <system_error>

#include "desktop/file_rows.h"
#include "platform/path_text.h"

namespace varnelko {

namespace fs = std::filesystem;

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One UTF-8 character's length from its lead byte.
size_t CharLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(n, text.size() - at);
}

// Links to folders are not followed, so a link back up cannot make the
// search go round.
bool Wanted(const fs::directory_entry& entry, const EntryTraits& traits, EntryKind kind) {
  std::error_code error;
  if (kind == EntryKind::kFolders) return entry.is_directory(error) && !traits.link;
  return entry.is_regular_file(error);
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view mask) {
  // Greedy matching with one step back to the last "*".
  size_t n = 0, m = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (m < mask.size() && mask[m] == '?') {
      ++m;
      n += CharLength(name, n);
    } else if (m < mask.size() && Lower(mask[m]) == Lower(name[n])) {
      ++m, ++n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      resume += CharLength(name, resume);
      n = resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<FolderEntry> ListFolder(const fs::path& folder, EntryKind kind,
                                    std::string_view mask) {
  std::vector<FolderEntry> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const EntryTraits traits = ExamineEntry(*it);
    if (traits.hidden || !Wanted(*it, traits, kind)) continue;
    FolderEntry entry;
    entry.name = it->path().filename();
    entry.shown = PathToUtf8(entry.name);
    if (!MatchesWildcard(entry.shown, mask)) continue;
    if (kind == EntryKind::kFiles) {
      std::error_code ignored;
      entry.size = static_cast<int64_t>(it->file_size(ignored));
      entry.modified = ToLocalTime(it->last_write_time(ignored));
      const fs::perms perms = fs::status(it->path(), ignored).permissions();
      entry.read_only = (perms & fs::perms::owner_write) == fs::perms::none;
    }
    entries.push_back(std::move(entry));
  }
  std::vector<std::string> keys(entries.size());
  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) keys[i] = UpperCased(entries[i].shown), order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int c = keys[a].compare(keys[b]);
    return c != 0 ? c < 0 : entries[a].name < entries[b].name;  // the disk's order is no order
  });
  std::vector<FolderEntry> sorted;
  sorted.reserve(entries.size());
  for (size_t i : order) sorted.push_back(std::move(entries[i]));
  return sorted;
}

}  // namespace varnelko
