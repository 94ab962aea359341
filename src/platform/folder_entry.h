#pragma once
// What a folder listing needs to know about an entry beyond the standard
// library: whether the system hides it, whether it leads elsewhere (a link
// or, on Windows, a junction), and its time on the local clock.
#include <filesystem>

namespace varnelko {

struct EntryTraits {
  bool hidden = false;  // a leading "." on Linux; the hidden or system attribute on Windows
  bool link = false;    // a symbolic link, or a junction on Windows
};

EntryTraits ExamineEntry(const std::filesystem::directory_entry& entry);

// A moment on the local clock, as the user's clock shows it.
struct LocalTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalTime&) const = default;
};

LocalTime ToLocalTime(std::filesystem::file_time_type time);

}  // namespace varnelko
