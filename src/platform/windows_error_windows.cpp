#include "platform/windows_error.h"

#include <windows.h>

#include <string>

#include "platform/wide_text.h"

namespace varnelko {
namespace {

// The text ends as a sentence with a line break; the program puts it after
// a colon inside its own line, so both go.
std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '.')) {
    text.pop_back();
  }
  const std::string kJapaneseFullStop = "\xE3\x80\x82";  // "。"
  if (text.ends_with(kJapaneseFullStop)) text.resize(text.size() - kJapaneseFullStop.size());
  return text;
}

class WindowsCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  // Language 0: the user's language, falling back as the system does.
  std::string message(int code) const override {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8 = length > 0 ? Trimmed(Utf8FromWide(std::wstring_view(text, length))) : "";
    if (text) LocalFree(text);
    return utf8.empty() ? "Windows error " + std::to_string(code) : utf8;
  }

  // The standard library knows which portable condition each code means.
  std::error_condition default_error_condition(int code) const noexcept override {
    return std::system_category().default_error_condition(code);
  }
};

}  // namespace

std::error_code WindowsError(unsigned long code) {
  static const WindowsCategory category;
  return {static_cast<int>(code), category};
}

std::error_code LastWindowsError() { return WindowsError(GetLastError()); }

}  // namespace varnelko
