#pragma once
// A picture in memory that GDI and GDI+ draw into: a 32-bit top-down DIB
// section selected into a memory device context. The preview's back buffer
// and the pictures painted on its worker thread are these; tests read the
// pixels back.
#include <windows.h>

#include <cstdint>

namespace varnelko::win32 {

class DibPicture {
 public:
  // An empty picture when `width` or `height` is not positive or Windows
  // has no memory for it (valid() says which).
  DibPicture(int width, int height);
  ~DibPicture();
  DibPicture(const DibPicture&) = delete;
  DibPicture& operator=(const DibPicture&) = delete;

  bool valid() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // 0xRRGGBB of pixel (x, y), the origin at the top left.
  uint32_t Pixel(int x, int y) const;

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  const uint32_t* bits_ = nullptr;
};

}  // namespace varnelko::win32
