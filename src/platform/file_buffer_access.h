#pragma once
// Inside the platform module only: what the file readers of each system
// share, the buffer's memory and the words for what is not a regular file.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/native_file.h"

namespace varnelko {

struct FileBufferAccess {
  // Room for `n` bytes; what the buffer held is dropped when it has to grow.
  // The old memory goes first, so that the allocator can hand it out again,
  // and the buffer grows by half at least, so that a batch of ever larger
  // files moves it only a few times. Pages beyond what is read are never
  // touched, so the headroom costs no memory.
  static char* Room(FileBuffer& b, size_t n) {
    if (b.capacity_ < n) {
      b.data_.reset();
      b.capacity_ = std::max(n, b.capacity_ + b.capacity_ / 2);
      b.data_ = std::make_unique_for_overwrite<char[]>(b.capacity_);
    }
    return b.data_.get();
  }
  static size_t Capacity(const FileBuffer& b) { return b.capacity_; }
  static void SetSize(FileBuffer& b, size_t n) { b.size_ = n; }
};

// What a path that is not a regular file is, for the message.
std::string NotRegular(std::filesystem::file_type type);

}  // namespace varnelko
