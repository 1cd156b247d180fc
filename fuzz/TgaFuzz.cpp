// Feeds arbitrary bytes to the TGA decoder: it refuses or returns a picture
// no larger than the bytes it was given.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/ImageLib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::DecodeTGA(data, size);
  if (image && static_cast<std::size_t>(image->GetWidth()) * static_cast<std::size_t>(image->GetHeight()) * 4 > size)
    std::abort();
  return 0;
}
