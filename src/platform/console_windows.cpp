#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/console.h"
#include "platform/wide_text.h"

namespace varnelko::platform {
namespace {

// Older consoles refuse very long writes; a page of JSON goes in pieces,
// never between the two halves of a character outside the basic plane.
constexpr size_t kConsolePiece = 8192;

void WriteToConsole(HANDLE console, std::wstring_view text) {
  while (!text.empty()) {
    size_t n = std::min(text.size(), kConsolePiece);
    if (n < text.size() && IS_HIGH_SURROGATE(text[n - 1])) --n;
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(n), &written, nullptr) ||
        written == 0) {
      return;
    }
    text.remove_prefix(written);
  }
}

void WriteBytes(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    const DWORD n = static_cast<DWORD>(std::min<size_t>(text.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, text.data(), n, &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
}

}  // namespace

void WriteText(Stream stream, std::string_view text) {
  const HANDLE h = GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(h, &mode)) {
    WriteToConsole(h, WideFromUtf8(text));
  } else {
    WriteBytes(h, text);
  }
}

bool StderrIsTerminal() {
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (err == INVALID_HANDLE_VALUE || !GetConsoleMode(err, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace varnelko::platform
