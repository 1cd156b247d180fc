#include "tests/artgen/DataFiles.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

namespace {

int Le16(const std::string& b, size_t at) { return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8); }
int Be16(const std::string& b, size_t at) { return (uint8_t(b[at]) << 8) | uint8_t(b[at + 1]); }

std::optional<Picture> ReadPng(const std::string& file) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return std::nullopt;
  }
  Picture p;
  p.width = cairo_image_surface_get_width(s);
  p.height = cairo_image_surface_get_height(s);
  p.hasPixels = true;
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  for (int y = 0; y < p.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < p.width; ++x) {
      const uint32_t px = row[x], a = hasAlpha ? px >> 24 : 255;
      p.alpha.push_back(uint8_t(a));
      // cairo keeps premultiplied colour: undo that before weighing the channels.
      const double r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
      const double luma = a ? (0.2126 * r + 0.7152 * g + 0.0722 * b) * 255.0 / a : 0.0;
      p.light.push_back(uint8_t(std::min(255.0, luma)));
    }
  }
  cairo_surface_destroy(s);
  return p;
}

std::optional<Picture> ReadTga(const std::string& bytes) {
  if (bytes.size() < 18 || uint8_t(bytes[16]) != 32 || uint8_t(bytes[17]) != 0x28) return std::nullopt;
  Picture p;
  p.width = Le16(bytes, 12);
  p.height = Le16(bytes, 14);
  if (bytes.size() < 18 + size_t(p.width) * size_t(p.height) * 4) return std::nullopt;
  p.hasPixels = true;
  for (size_t i = 0; i < size_t(p.width) * size_t(p.height); ++i) p.alpha.push_back(uint8_t(bytes[18 + i * 4 + 3]));
  return p;
}

std::optional<Picture> ReadJpeg(const std::string& b) {
  for (size_t i = 2; i + 9 < b.size();) {
    if (uint8_t(b[i]) != 0xFF) return std::nullopt;
    const uint8_t marker = uint8_t(b[i + 1]);
    if (marker >= 0xC0 && marker <= 0xC3) return Picture{Be16(b, i + 7), Be16(b, i + 5), false, {}, {}};
    i += 2 + size_t(Be16(b, i + 2));
  }
  return std::nullopt;
}

}  // namespace

std::optional<Picture> ReadPicture(const std::string& file) {
  const std::string bytes = ReadText(file);
  const std::string ext = file.substr(file.size() - 4);
  if (ext == ".png") return ReadPng(file);
  if (ext == ".tga") return ReadTga(bytes);
  if (ext == ".jpg") return ReadJpeg(bytes);
  if (ext == ".gif" && bytes.size() > 10 && bytes.compare(0, 6, "GIF89a") == 0) {
    return Picture{Le16(bytes, 6), Le16(bytes, 8), false, {}, {}};
  }
  return std::nullopt;
}

}  // namespace ArtTest
