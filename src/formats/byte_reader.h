#pragma once
// A bounds-checked little-endian cursor over bytes held in memory. Every read
// checks that the bytes are there; the first failure latches, later reads
// return zeros, and the decoder checks ok() once per record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "formats/format_error.h"

namespace varnelko {

class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}
  // The reader only views its bytes; a temporary string would be gone
  // before the first read.
  explicit ByteReader(std::string&&) = delete;

  bool ok() const { return ok_; }
  size_t offset() const { return pos_; }
  size_t remaining() const { return data_.size() - pos_; }
  const FormatError& error() const { return error_; }

  uint8_t U8() { return Fixed<uint8_t>(); }
  uint16_t U16() { return Fixed<uint16_t>(); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return Fixed<int32_t>(); }
  double F64() { return Fixed<double>(); }
  std::string Bytes(size_t n);
  // The next n bytes without copying them; empty when they are not there.
  // Inline with Skip: the scans call both for every entity.
  std::string_view View(size_t n) {
    if (!Need(n)) return {};
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  void Skip(size_t n) {
    if (Need(n)) pos_ += n;
  }

  // True when `count` items of at least `min_bytes_each` bytes could still
  // follow; otherwise fails the reader. Guards every count read from a file
  // before anything is reserved for it.
  bool CanHold(uint64_t count, uint64_t min_bytes_each, const char* what);

  // Latches a failure at the current offset (the first one wins).
  void Fail(std::string what);
  // The same, for a failure found after reading past its cause (a class
  // name is known to be unknown only once it has been read).
  void FailAt(size_t offset, std::string what);

 private:
  // The check stays inline on the hot path; only a failure leaves it.
  bool Need(size_t n) { return (ok_ && n <= remaining()) || Short(n); }
  bool Short(size_t n);  // records a truncation, returns false

  // Values are little-endian in the file, as on every supported machine.
  template <typename T>
  T Fixed() {
    if (!Need(sizeof(T))) return T{};
    T v;
    std::memcpy(&v, data_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return v;
  }

  std::string_view data_;
  size_t pos_ = 0;
  bool ok_ = true;
  FormatError error_;
};

}  // namespace varnelko
