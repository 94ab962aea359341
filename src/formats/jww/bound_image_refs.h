#pragma once
// Which bound images the texts of a drawing still refer to. A text refers
// to an image by "^@BM%temp%" + the image's file name + "," + placement; the
// writer keeps only the images so referred to.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnelko {

constexpr std::string_view kImageMarker = "^@BM%temp%";

class BoundImageRefs {
 public:
  // `names` are the image names in list order.
  template <typename Names>
  explicit BoundImageRefs(const Names& names) {
    upper_names_.reserve(names.size());
    for (const auto& name : names) upper_names_.push_back(UpperCp932(name));
    used_.assign(upper_names_.size(), 0);
  }

  // Marks the first image whose upper-cased name begins with the reference
  // in `text`, if the text holds one.
  void See(std::string_view text);

  // One flag per image, in list order.
  const std::vector<uint8_t>& used() const { return used_; }

  // Upper-cases ASCII letters and leaves double-byte characters whole, as
  // the Japanese locale does.
  static std::string UpperCp932(std::string_view s);

 private:
  std::vector<std::string> upper_names_;
  std::vector<uint8_t> used_;
};

}  // namespace varnelko
