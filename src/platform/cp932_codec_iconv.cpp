#include <iconv.h>

#include <cerrno>

#include "platform/cp932_codec.h"

namespace varnelko::platform {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

Cp932Codec::Cp932Codec(Cp932Direction direction) : direction_(direction) {
  iconv_t cd = direction == Cp932Direction::kToUtf8 ? iconv_open("UTF-8", "CP932")
                                                     : iconv_open("CP932", "UTF-8");
  if (cd != kNoConverter) handle_ = cd;
}

Cp932Codec::~Cp932Codec() {
  if (ok()) iconv_close(static_cast<iconv_t>(handle_));
}

bool Cp932Codec::ok() const { return handle_ != nullptr; }

bool Cp932Codec::Convert(std::string_view& in, std::string& out) {
  const auto cd = static_cast<iconv_t>(handle_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char chunk[1024];
  while (!in.empty()) {
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = chunk;
    size_t dst_left = sizeof chunk;
    const size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(chunk, static_cast<size_t>(dst - chunk));
    in.remove_prefix(in.size() - src_left);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

}  // namespace varnelko::platform
