#include "document/cp932.h"

#include <cstdint>

#include "platform/cp932_codec.h"

namespace varnelko {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  }
  return true;
}

bool IsCp932Lead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp932Trail(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// How many bytes one undecodable code page 932 character spans: a lead byte
// with a proper trail byte is one (unassigned) character; anything else is a
// single bad byte, so that an ASCII byte after a stray lead byte survives.
size_t BadCp932Length(std::string_view in) {
  const auto lead = static_cast<uint8_t>(in[0]);
  if (in.size() >= 2 && IsCp932Lead(lead) && IsCp932Trail(static_cast<uint8_t>(in[1]))) return 2;
  return 1;
}

// The length of the bad UTF-8 sequence that starts `in`: a lead byte and
// the continuation bytes that follow it, so that a cut-off character is one
// replacement, not one per byte.
size_t Utf8SequenceLength(std::string_view in) {
  const auto b = static_cast<uint8_t>(in[0]);
  const size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 1;
  size_t i = 1;
  while (i < n && i < in.size() && (static_cast<uint8_t>(in[i]) & 0xC0) == 0x80) ++i;
  return i;
}

// Converts `text`, replacing each sequence the converter refuses with
// `replacement` and carrying on after it.
template <typename BadLength>
std::string ConvertLeniently(platform::Cp932Codec& converter, std::string_view text,
                             std::string_view replacement, BadLength bad_length) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  if (!converter.ok()) {
    // Without a converter only ASCII can be trusted.
    while (!text.empty()) {
      const size_t n = static_cast<uint8_t>(text[0]) < 0x80 ? 1 : bad_length(text);
      out.append(n == 1 && static_cast<uint8_t>(text[0]) < 0x80 ? text.substr(0, 1) : replacement);
      text.remove_prefix(n);
    }
    return out;
  }
  while (!converter.Convert(text, out)) {
    out.append(replacement);
    text.remove_prefix(bad_length(text));
  }
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  thread_local platform::Cp932Codec converter(platform::Cp932Direction::kToUtf8);
  return ConvertLeniently(converter, bytes, kReplacement, BadCp932Length);
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local platform::Cp932Codec converter(platform::Cp932Direction::kFromUtf8);
  return ConvertLeniently(converter, utf8, "?", Utf8SequenceLength);
}

bool IsUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    size_t extra = 0;
    uint32_t min = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, min = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i <= extra) return false;
    uint32_t code = b & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<uint8_t>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace varnelko
