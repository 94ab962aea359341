#pragma once
// One direction of conversion between code page 932 and UTF-8, done by what
// the system offers: iconv on Linux, the code page functions on Windows.
// The lenient handling of bad input (document/cp932) sits on top of this.
#include <string>
#include <string_view>

namespace varnelko::platform {

enum class Cp932Direction { kToUtf8, kFromUtf8 };

class Cp932Codec {
 public:
  explicit Cp932Codec(Cp932Direction direction);
  ~Cp932Codec();
  Cp932Codec(const Cp932Codec&) = delete;
  Cp932Codec& operator=(const Cp932Codec&) = delete;

  // False when the system has no converter for code page 932.
  bool ok() const;

  // Converts as much of `in` as it can, appending to `out`. Returns false at
  // a character it cannot convert (or that is cut off), leaving `in` on it.
  bool Convert(std::string_view& in, std::string& out);

 private:
  Cp932Direction direction_;
  void* handle_ = nullptr;  // the iconv descriptor, where iconv is used
};

}  // namespace varnelko::platform
