#include "formats/byte_reader.h"

#include <bit>
#include <cstring>

namespace varnelko {

static_assert(std::endian::native == std::endian::little,
              "the byte reader copies little-endian values as they are");

bool ByteReader::Need(size_t n) {
  if (!ok_) return false;
  if (n > remaining()) {
    Fail("truncated: " + std::to_string(n) + " bytes needed, " +
         std::to_string(remaining()) + " left");
    return false;
  }
  return true;
}

void ByteReader::Fail(std::string what) { FailAt(pos_, std::move(what)); }

void ByteReader::FailAt(size_t offset, std::string what) {
  if (!ok_) return;
  ok_ = false;
  error_ = FormatError{std::move(what), offset};
}

uint8_t ByteReader::U8() {
  if (!Need(1)) return 0;
  return static_cast<uint8_t>(data_[pos_++]);
}

uint16_t ByteReader::U16() {
  if (!Need(2)) return 0;
  uint16_t v;
  std::memcpy(&v, data_.data() + pos_, 2);
  pos_ += 2;
  return v;
}

int32_t ByteReader::I32() {
  if (!Need(4)) return 0;
  int32_t v;
  std::memcpy(&v, data_.data() + pos_, 4);
  pos_ += 4;
  return v;
}

double ByteReader::F64() {
  if (!Need(8)) return 0;
  double v;
  std::memcpy(&v, data_.data() + pos_, 8);
  pos_ += 8;
  return v;
}

std::string ByteReader::Bytes(size_t n) {
  if (!Need(n)) return {};
  std::string s(data_.substr(pos_, n));
  pos_ += n;
  return s;
}

std::string_view ByteReader::View(size_t n) {
  if (!Need(n)) return {};
  std::string_view s = data_.substr(pos_, n);
  pos_ += n;
  return s;
}

void ByteReader::Skip(size_t n) {
  if (Need(n)) pos_ += n;
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
