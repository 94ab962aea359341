#include "platform/folder_entry.h"

#include <chrono>
#include <ctime>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace varnelko {

namespace {

LocalTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

#if defined(_WIN32)

EntryTraits ExamineEntry(const std::filesystem::directory_entry& entry) {
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {};
  return {(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0,
          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}

LocalTime ToLocalTime(std::filesystem::file_time_type time) {
  const auto since_epoch = std::chrono::file_clock::to_sys(time).time_since_epoch();
  const std::time_t seconds = std::chrono::floor<std::chrono::seconds>(since_epoch).count();
  std::tm tm{};
  if (localtime_s(&tm, &seconds) != 0) return {};
  return FromTm(tm);
}

#else

EntryTraits ExamineEntry(const std::filesystem::directory_entry& entry) {
  std::error_code error;
  return {entry.path().filename().native().starts_with('.'), entry.is_symlink(error)};
}

LocalTime ToLocalTime(std::filesystem::file_time_type time) {
  const auto since_epoch = std::chrono::file_clock::to_sys(time).time_since_epoch();
  const std::time_t seconds = std::chrono::floor<std::chrono::seconds>(since_epoch).count();
  std::tm tm{};
  if (!localtime_r(&seconds, &tm)) return {};
  return FromTm(tm);
}

#endif

}  // namespace varnelko
