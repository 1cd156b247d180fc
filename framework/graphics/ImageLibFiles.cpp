#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::size_t limit) {
  PFilePtr file = OpenForReading(fileName);
  if (!file) return false;
  constexpr std::size_t kBlock = 64 * 1024;
  bytes.clear();
  for (;;) {
    const std::size_t used = bytes.size();
    if (used >= limit) return false;
    bytes.resize(used + kBlock);
    const std::size_t got = p_fread(bytes.data() + used, 1, kBlock, file.get());
    bytes.resize(used + got);
    if (got < kBlock) return true;
  }
}

}  // namespace Zing::ImageLib
