#include "tests/graphics/FontTestHost.h"

#include <png.h>

#include <cstdlib>

namespace ZingTest {

std::shared_ptr<Zing::MemoryImage> ReadPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return nullptr;
  png.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB words on a little-endian machine
  auto image = std::make_shared<Zing::MemoryImage>();
  image->Create(static_cast<int>(png.width), static_cast<int>(png.height));
  if (!png_image_finish_read(&png, nullptr, image->GetBits(), 0, nullptr)) return nullptr;
  image->BitsChanged();
  return image;
}

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir ? dir : "build/data";
}

}  // namespace ZingTest
