// Feeds arbitrary files to the JPEG loader, which reads them through the
// archive-aware file functions and the library: it refuses or returns a
// picture within the size limit, and never leaks or jumps over cleanup.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/ImageLib.h"
#include "fuzz/FuzzInputFile.h"

namespace {

const ZingFuzz::InputFile& Input() {
  static const ZingFuzz::InputFile file(".jpg");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetJPEGImage(Input().Write(data, size));
  if (image &&
      (image->GetWidth() > Zing::ImageLib::kMaxDimension || image->GetHeight() > Zing::ImageLib::kMaxDimension))
    std::abort();
  return 0;
}
