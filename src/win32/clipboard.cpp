#include "win32/clipboard.h"

#include <cstring>

#include "platform/wide_text.h"

namespace varnelko::win32 {

bool PutTextOnClipboard(HWND owner, const std::string& utf8) {
  std::wstring text;
  for (const wchar_t c : WideFromUtf8(utf8)) {
    if (c == L'\n' && (text.empty() || text.back() != L'\r')) text += L'\r';
    text += c;
  }
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!put) GlobalFree(memory);  // the clipboard owns it only when taken
  return put;
}

}  // namespace varnelko::win32
