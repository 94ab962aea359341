#include "formats/byte_reader.h"

#include <bit>

namespace varnelko {

static_assert(std::endian::native == std::endian::little,
              "the byte reader copies little-endian values as they are");

bool ByteReader::Short(size_t n) {
  if (ok_) {
    Fail("truncated: " + std::to_string(n) + " bytes needed, " +
         std::to_string(remaining()) + " left");
  }
  return false;
}

void ByteReader::Fail(std::string what) { FailAt(pos_, std::move(what)); }

void ByteReader::FailAt(size_t offset, std::string what) {
  if (!ok_) return;
  ok_ = false;
  error_ = FormatError{std::move(what), offset};
}

std::string ByteReader::Bytes(size_t n) {
  if (!Need(n)) return {};
  std::string s(data_.substr(pos_, n));
  pos_ += n;
  return s;
}

bool ByteReader::CanHold(uint64_t count, uint64_t min_bytes_each, const char* what) {
  if (!ok_) return false;
  if (min_bytes_each != 0 && count > remaining() / min_bytes_each) {
    Fail(std::string(what) + " of " + std::to_string(count) +
         " cannot fit in the " + std::to_string(remaining()) + " bytes left");
    return false;
  }
  return true;
}

}  // namespace varnelko
