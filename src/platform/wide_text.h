#pragma once
// Text for the Windows API: the window program keeps UTF-8 like the rest of
// the program and hands UTF-16 only to the W functions. Both directions go
// through here, so no window code converts text by itself.
#include <string>
#include <string_view>

namespace varnelko {

// Invalid UTF-8 bytes become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace varnelko
