#include "document/text_helpers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace varnelko {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hexadecimal digits up to the end; the value is a 32-bit pattern, so a
// value wider than 32 bits (leading zeros do not count) is invalid.
bool ParseHex(std::string_view digits, uint32_t& out) {
  if (digits.empty()) return false;
  uint32_t value = 0;
  for (char c : digits) {
    int d = HexDigitValue(c);
    if (d < 0 || (value & 0xF0000000u) != 0) return false;
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  out = value;
  return true;
}

bool ParseDecimal(std::string_view digits, bool negative, int32_t& out) {
  if (digits.empty()) return false;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  out = static_cast<int32_t>(negative ? -value : value);
  return true;
}

bool StartsWithHexPrefix(std::string_view text, size_t& prefix_length) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    prefix_length = 2;
    return true;
  }
  if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
    prefix_length = 1;
    return true;
  }
  return false;
}

// A single-byte control character, which both cleaners drop.
bool IsControlByte(uint8_t b) { return b < 0x20; }

bool IsCaretM(std::string_view text, size_t i) {
  return text[i] == '^' && i + 1 < text.size() && text[i + 1] == 'm';
}

// The one walk behind both cleaners: double-byte characters are kept whole,
// control bytes dropped and, when asked, "^m" pairs too.
std::string CleanWalk(std::string_view text, bool drop_caret_m) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (IsLeadByte(b)) {
      const size_t n = i + 1 < text.size() ? 2 : 1;
      out.append(text.substr(i, n));
      i += n;
    } else if (drop_caret_m && IsCaretM(text, i)) {
      i += 2;
    } else {
      if (!IsControlByte(b)) out.push_back(static_cast<char>(b));
      ++i;
    }
  }
  return out;
}

// Whether the byte at `i` starts a character, told from the bytes before it:
// a byte outside the lead range ends a character wherever it stands, so from
// the last such byte on, characters start at every other byte.
bool StartsCharacter(std::string_view text, size_t i) {
  size_t k = i;
  while (k > 0 && IsLeadByte(static_cast<uint8_t>(text[k - 1]))) --k;
  return (i - k) % 2 == 0;
}

// Whether any of the eight bytes of `w` may be below 0x20 or, with `caret`,
// a "^". A borrow may flag a word that has none, but never misses one: the
// lowest such byte is always flagged, so a word that passes needs no look.
bool HasSuspectByte(uint64_t w, bool caret) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  const uint64_t below_space = (w - kOnes * 0x20) & ~w & kHigh;
  const uint64_t x = w ^ (kOnes * '^');
  const uint64_t caret_bytes = caret ? (x - kOnes) & ~x & kHigh : 0;
  return (below_space | caret_bytes) != 0;
}

// True when the walk would drop something. Most names and texts are clean,
// and the writers and the scan call this on every one of them: eight bytes
// are looked at together, and only a droppable byte is placed in its
// character (a trail byte may be a control byte or a "^").
bool NeedsCleaning(std::string_view text, bool drop_caret_m) {
  size_t i = 0;
  while (i < text.size()) {
    if (i + 8 <= text.size()) {
      uint64_t w;
      std::memcpy(&w, text.data() + i, sizeof w);
      if (!HasSuspectByte(w, drop_caret_m)) {
        i += 8;
        continue;
      }
    }
    const size_t end = std::min(i + 8, text.size());
    for (; i < end; ++i) {
      const bool droppable = IsControlByte(static_cast<uint8_t>(text[i])) ||
                             (drop_caret_m && IsCaretM(text, i));
      if (droppable && StartsCharacter(text, i)) return true;
    }
  }
  return false;
}

void CheckPosition(std::span<uint8_t> buf, size_t position) {
  if (position >= buf.size()) {
    throw RangeError("buffer of " + std::to_string(buf.size()) + " bytes has no position " +
                     std::to_string(position));
  }
}

}  // namespace

void CopyStrToBuf(std::span<uint8_t> buf, std::string_view src, int32_t n) {
  const uint64_t wanted = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(n)));
  const size_t count = static_cast<size_t>(std::min<uint64_t>(wanted, src.size()));
  for (size_t i = 0; i < count; ++i) {
    CheckPosition(buf, i);
    buf[i] = static_cast<uint8_t>(src[i]);
  }
}

void FillBuf(std::span<uint8_t> buf, uint8_t value, int32_t n) {
  for (int64_t i = 0; i < n; ++i) {
    CheckPosition(buf, static_cast<size_t>(i));
    buf[static_cast<size_t>(i)] = value;
  }
}

int32_t StrToIntLenient(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);

  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  size_t prefix = 0;
  if (StartsWithHexPrefix(text, prefix)) {
    // A sign before a hexadecimal value is ignored: the digits are the bits.
    uint32_t bits = 0;
    return ParseHex(text.substr(prefix), bits) ? static_cast<int32_t>(bits) : 0;
  }
  int32_t value = 0;
  return ParseDecimal(text, negative, value) ? value : 0;
}

std::string StripControlChars(std::string_view text) {
  if (!NeedsCleaning(text, false)) return std::string(text);
  return CleanWalk(text, false);
}

bool TextNeedsCleaning(std::string_view text) { return NeedsCleaning(text, true); }

std::string CleanTextForWrite(std::string_view text) {
  if (!NeedsCleaning(text, true)) return std::string(text);
  std::string out = CleanWalk(text, true);
  // A field that held only control bytes still needs a visible character.
  if (out.empty()) out = " ";
  return out;
}

std::string_view CleanedForWrite(std::string_view text, std::string& storage) {
  if (!NeedsCleaning(text, true)) return text;
  storage = CleanTextForWrite(text);
  return storage;
}

}  // namespace varnelko
