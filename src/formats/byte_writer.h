#pragma once
// Builds a file's bytes in memory, little-endian, front to back; the whole
// buffer is handed to the file system in one go.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace varnelko {

class ByteWriter {
 public:
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) { Raw(&v, 2); }
  void I16(int16_t v) { Raw(&v, 2); }
  void I32(int32_t v) { Raw(&v, 4); }
  void F64(double v) { Raw(&v, 8); }
  void Bytes(std::string_view s) { out_.append(s); }
  void Fill(uint8_t value, size_t n) { out_.append(n, static_cast<char>(value)); }

  size_t size() const { return out_.size(); }
  const std::string& data() const { return out_; }
  std::string Take() { return std::move(out_); }
  void Reserve(size_t n) { out_.reserve(n); }
  void Clear() { out_.clear(); }

 private:
  void Raw(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  std::string out_;
};

}  // namespace varnelko
