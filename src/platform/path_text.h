#pragma once
// Where text meets a file name. Text in the program is UTF-8; a path holds
// the system's own form (bytes on Linux, UTF-16 on Windows), and the plain
// std::string conversions of std::filesystem::path use the ANSI code page on
// Windows, which cannot hold every name. Every conversion goes through here.
#include <filesystem>
#include <string>
#include <string_view>

namespace varnelko {

// A path from UTF-8 text: a command-line argument, a settings value. On
// Linux the bytes are taken as they are, so a name of raw code page 932
// bytes still names its file.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// A file name kept in a drawing (code page 932 bytes, a bound image's name)
// as a path. Linux takes the bytes as they are, as Jw_cad's archives are
// unpacked there; Windows names are Unicode, so the name is decoded.
std::filesystem::path PathFromCp932Name(std::string_view name);

// A path as UTF-8 text, for display and reports, with the system's own
// separators (on Windows a "/" shows as "\"). On Linux each part that is
// not UTF-8 (a name unpacked from a Windows archive keeps its code page 932
// bytes) is decoded from code page 932.
std::string PathToUtf8(const std::filesystem::path& path);

// The form of `path` that the Windows API takes at any length. A path too
// long for the plain form (MAX_PATH) is made absolute, its "." and ".."
// resolved and its separators backslashes, behind "\\?\" ("\\?\UNC\"
// for a network path); a shorter one stays as it is, so that it is read as
// it always was. Linux takes every path as it is.
std::filesystem::path LongPathForm(const std::filesystem::path& path);

}  // namespace varnelko
