#pragma once

// What a memory image asks of the display back-end that shows it: the pixel
// format of its native copies, and the texture copy the back-end may keep of
// an image. A memory image without a display uses 32-bit 0xAARRGGBB native
// data and has no texture copy.

#include <cstdint>

namespace Zing {

class MemoryImage;

// Where the colour channels of a native pixel lie. Each channel's byte is
// placed in the top bits of its mask; alpha always takes the top byte.
struct PixelFormat {
  std::uint32_t redMask = 0x00FF0000;
  std::uint32_t greenMask = 0x0000FF00;
  std::uint32_t blueMask = 0x000000FF;

  bool operator==(const PixelFormat&) const = default;
};

class ImageDisplay {
 public:
  virtual ~ImageDisplay() = default;

  virtual PixelFormat GetNativeFormat() const { return PixelFormat(); }
  // Whether the back-end holds a texture copy of the image.
  virtual bool HasTextureCopy(const MemoryImage&) const { return false; }
  // Fills width x height pixels from the texture copy; false when there is none.
  virtual bool ReadTextureCopy(const MemoryImage&, std::uint32_t* /*bits*/) { return false; }
  virtual void DropTextureCopy(MemoryImage&) {}
  // The image is being destroyed: forget everything kept for it.
  virtual void ImageDestroyed(MemoryImage&) {}
};

}  // namespace Zing
