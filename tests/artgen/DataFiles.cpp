#include "tests/artgen/DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/graphics/ImageLib.h"

namespace ArtTest {

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_TEST_DATA_DIR;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool IsFile(const std::string& path) { return std::filesystem::is_regular_file(path); }

std::string OnDisk(const std::string& manifestPath) {
  std::string p = manifestPath;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return DataDir() + "/" + p;
}

std::optional<std::string> ImageFile(const std::string& manifestPath) {
  for (const char* ext : {".tga", ".jpg", ".png", ".gif"}) {
    const std::string f = OnDisk(manifestPath) + ext;
    if (IsFile(f)) return f;
  }
  return std::nullopt;
}

double Picture::Light(int x, int y) const {
  const std::uint32_t p = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  return 0.2126 * ((p >> 16) & 0xFF) + 0.7152 * ((p >> 8) & 0xFF) + 0.0722 * (p & 0xFF);
}

std::optional<Picture> ReadPicture(const std::string& file) {
  Zing::ImageLib::ImagePtr image = Zing::ImageLib::GetImage(file);
  if (!image) return std::nullopt;
  const std::uint32_t* bits = image->GetBits();
  return Picture{
      image->GetWidth(), image->GetHeight(),
      std::vector<std::uint32_t>(bits, bits + std::size_t(image->GetWidth()) * std::size_t(image->GetHeight()))};
}

}  // namespace ArtTest
