#include <windows.h>

#include <cstdint>

#include "platform/cp932_codec.h"

namespace varnelko::platform {
namespace {

constexpr UINT kCp932 = 932;

bool IsLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Windows maps these single bytes to control and private-use characters;
// iconv's table has no character for them. Both systems must read a drawing's
// text the same, so they are refused here too.
bool IsUnmappedSingleByte(uint8_t b) { return b == 0x80 || b == 0xA0 || b >= 0xFD; }

size_t Cp932CharLength(std::string_view in) {
  return in.size() >= 2 && IsLead(static_cast<uint8_t>(in[0])) ? 2 : 1;
}

size_t Utf8CharLength(std::string_view in) {
  const auto b = static_cast<uint8_t>(in[0]);
  const size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  return n < in.size() ? n : in.size();
}

bool ToWide(UINT code_page, std::string_view in, std::wstring& wide) {
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<size_t>(n));
  return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(), size, wide.data(), n) == n;
}

// Appends `wide` in the code page. Code page 932 takes no best-fit
// look-alikes (a "é" is not written as "e"): a character it has no code
// for fails, as it does with iconv.
bool AppendFromWide(UINT code_page, const std::wstring& wide, std::string& out) {
  const int size = static_cast<int>(wide.size());
  const bool utf8 = code_page == CP_UTF8;
  BOOL used_default = FALSE;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int n = WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, nullptr,
                                    utf8 ? nullptr : &used_default);
  if (n <= 0 || used_default) return false;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(n));
  WideCharToMultiByte(code_page, flags, wide.data(), size, out.data() + at, n, nullptr, nullptr);
  return true;
}

// Converts a whole run; on failure `out` is left as it was.
bool ConvertRun(Cp932Direction direction, std::string_view run, std::string& out) {
  std::wstring wide;
  if (direction == Cp932Direction::kToUtf8) {
    return ToWide(kCp932, run, wide) && AppendFromWide(CP_UTF8, wide, out);
  }
  return ToWide(CP_UTF8, run, wide) && AppendFromWide(kCp932, wide, out);
}

}  // namespace

Cp932Codec::Cp932Codec(Cp932Direction direction) : direction_(direction) {}

Cp932Codec::~Cp932Codec() = default;

bool Cp932Codec::ok() const { return IsValidCodePage(kCp932) != 0; }

// The run up to the first byte that is refused outright goes to Windows in
// one call; only a run that fails is retried a character at a time, to find
// the character where the conversion stops.
bool Cp932Codec::Convert(std::string_view& in, std::string& out) {
  const bool to_utf8 = direction_ == Cp932Direction::kToUtf8;
  const auto char_length = to_utf8 ? Cp932CharLength : Utf8CharLength;
  while (!in.empty()) {
    size_t run = 0;
    while (run < in.size() && !(to_utf8 && IsUnmappedSingleByte(static_cast<uint8_t>(in[run])))) {
      run += char_length(in.substr(run));
    }
    if (run == 0) return false;
    if (ConvertRun(direction_, in.substr(0, run), out)) {
      in.remove_prefix(run);
      continue;
    }
    for (size_t done = 0; done < run;) {
      const size_t n = char_length(in);
      if (!ConvertRun(direction_, in.substr(0, n), out)) return false;
      in.remove_prefix(n);
      done += n;
    }
  }
  return true;
}

}  // namespace varnelko::platform
