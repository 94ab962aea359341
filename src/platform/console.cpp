#include "platform/console.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdio>

namespace varnelko::platform {

#if defined(_WIN32)

Utf8Console::Utf8Console() : saved_code_page_(GetConsoleOutputCP()) {
  SetConsoleOutputCP(CP_UTF8);
  // Text mode would write every "\n" as "\r\n" into files and pipes.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

Utf8Console::~Utf8Console() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (saved_code_page_ != 0) SetConsoleOutputCP(saved_code_page_);
}

bool StderrIsTerminal() {
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (err == INVALID_HANDLE_VALUE || !GetConsoleMode(err, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

#else

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

#endif

}  // namespace varnelko::platform
