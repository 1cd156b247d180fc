// The TGA subset the game's pictures use: 32 bits per pixel, rows stored top
// to bottom with 8 attribute bits (descriptor 0x28), the pixel bytes B, G, R, A
// right after the 18-byte header. Every other kind, and every file shorter
// than its pixels, yields no image.

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kWidthOffset = 12;
constexpr std::size_t kHeightOffset = 14;
constexpr std::size_t kBitsOffset = 16;
constexpr std::size_t kDescriptorOffset = 17;
constexpr std::uint8_t kBitsPerPixel = 32;
constexpr std::uint8_t kTopDownWithAlpha = 0x28;

int Word(const std::uint8_t* at) { return at[0] | (at[1] << 8); }

}  // namespace

ImagePtr DecodeTGA(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return nullptr;
  if (data[kBitsOffset] != kBitsPerPixel || data[kDescriptorOffset] != kTopDownWithAlpha) return nullptr;
  auto image = std::make_unique<Image>();
  const int width = Word(data + kWidthOffset);
  const int height = Word(data + kHeightOffset);
  const std::size_t pixelBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  if (size - kHeaderSize < pixelBytes || !image->Allocate(width, height)) return nullptr;
  // Little-endian B, G, R, A is the word 0xAARRGGBB.
  const std::uint8_t* pixels = data + kHeaderSize;
  std::uint32_t* bits = image->GetBits();
  for (std::size_t i = 0; i < pixelBytes / 4; ++i, pixels += 4)
    bits[i] = pixels[0] | (pixels[1] << 8) | (pixels[2] << 16) | (static_cast<std::uint32_t>(pixels[3]) << 24);
  return image;
}

ImagePtr GetTGAImage(const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) return nullptr;
  return DecodeTGA(bytes.data(), bytes.size());
}

}  // namespace Zing::ImageLib
