// Feeds arbitrary files to the JPEG 2000 loader (raw codestreams and the JP2
// format, told apart by their first bytes), which reads them through the
// archive-aware file functions and the run-time library: it refuses or
// returns a picture within the size limit, and never leaks.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/graphics/ImageLib.h"
#include "fuzz/FuzzInputFile.h"

namespace {

// The run-time library is opened once, as the game does when it starts.
const ZingFuzz::InputFile& Input() {
  static const bool loaded = Zing::ImageLib::LoadJPEG2000Codec();
  if (!loaded) std::abort();
  static const ZingFuzz::InputFile file(".j2k");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetJPEG2000Image(Input().Write(data, size));
  if (image &&
      (image->GetWidth() > Zing::ImageLib::kMaxDimension || image->GetHeight() > Zing::ImageLib::kMaxDimension))
    std::abort();
  return 0;
}
