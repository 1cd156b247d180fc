#pragma once

// Memory images made from and read back as rows of 0xAARRGGBB words.

#include <cstdint>
#include <vector>

#include "framework/graphics/MemoryImage.h"

namespace ZingTest {

inline Zing::MemoryImage FromPixels(const std::vector<std::uint32_t>& pixels, int w = 0, int h = 1) {
  Zing::MemoryImage image;
  image.SetBits(pixels.data(), w > 0 ? w : static_cast<int>(pixels.size()), h);
  return image;
}

inline Zing::MemoryImage Solid(int w, int h, std::uint32_t pixel) {
  return FromPixels(std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, pixel), w, h);
}

inline std::vector<std::uint32_t> Pixels(Zing::MemoryImage& image) {
  const std::uint32_t* bits = image.GetBits();
  return {bits, bits + static_cast<std::size_t>(image.width) * image.height};
}

}  // namespace ZingTest
