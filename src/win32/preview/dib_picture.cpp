#include "win32/preview/dib_picture.h"

namespace varnelko::win32 {

DibPicture::DibPicture(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (!bitmap_ || !dc_) return;
  old_bitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<const uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

DibPicture::~DibPicture() {
  if (dc_ && old_bitmap_) SelectObject(dc_, old_bitmap_);
  if (dc_) DeleteDC(dc_);
  if (bitmap_) DeleteObject(bitmap_);
}

uint32_t DibPicture::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();  // GDI may still be drawing into the bits
  return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
}

}  // namespace varnelko::win32
