// Feeds arbitrary bytes to the GIF decoder: every pixel it returns must be
// readable and the size within the limit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/ImageLib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::DecodeGIF(data, size);
  if (!image) return 0;
  if (image->GetWidth() > Zing::ImageLib::kMaxDimension || image->GetHeight() > Zing::ImageLib::kMaxDimension)
    std::abort();
  std::uint32_t sum = 0;
  const std::size_t count = static_cast<std::size_t>(image->GetWidth()) * static_cast<std::size_t>(image->GetHeight());
  for (std::size_t i = 0; i < count && i < 65536; ++i) sum += image->GetBits()[i];
  return static_cast<int>(sum & 0);
}
