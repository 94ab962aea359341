#pragma once
// Text inside drawings stays code page 932 bytes; this is the one place that
// turns it into UTF-8, for display and JSON.
#include <string>
#include <string_view>

namespace varnelko {

// Undecodable bytes become U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);

// For typing text into a drawing or a file name into a lookup; characters
// with no code page 932 form become "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when `bytes` is well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace varnelko
