#pragma once
// Text and number helpers shared by the codecs and the desktop program. Text
// is code page 932 bytes: a byte in 0x80..0x9F or 0xE0..0xFD leads a
// double-byte character.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace varnelko {

// Raised when a helper is asked to store past a buffer's end.
class RangeError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

inline bool IsLeadByte(uint8_t b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD); }

// Copies min(|n|, src.size()) bytes to buf[0..]; no terminator. Throws
// RangeError at the first position past the buffer; bytes stored so far stay.
void CopyStrToBuf(std::span<uint8_t> buf, std::string_view src, int32_t n);

// Stores `value` at positions 0..n-1; n <= 0 does nothing. Throws RangeError
// past the buffer.
void FillBuf(std::span<uint8_t> buf, uint8_t value, int32_t n);

// Parses an integer without ever failing: empty or invalid text is 0.
int32_t StrToIntLenient(std::string_view text);

// Drops single-byte control characters (below 0x20), keeping double-byte
// characters whole.
std::string StripControlChars(std::string_view text);

// As StripControlChars, also dropping "^m" pairs; a result that would be
// empty (but was not empty before) is a single blank.
std::string CleanTextForWrite(std::string_view text);

// The text as CleanTextForWrite makes it, copied into `storage` only when
// it changes: the writers call it on every name and text.
std::string_view CleanedForWrite(std::string_view text, std::string& storage);

// True when CleanTextForWrite would change `text`: lets a writer keep a clean
// text (the usual case) without copying it.
bool TextNeedsCleaning(std::string_view text);

}  // namespace varnelko
