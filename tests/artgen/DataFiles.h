#pragma once

// Access to the generated data folder for the tests: where it is, which file a
// manifest path names, and the size and pixels of the images in it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ArtTest {

// build/data, from LINTWICK_DATA_DIR.
std::string DataDir();
std::string ReadText(const std::string& path);
bool IsFile(const std::string& path);

// The file an extension-less image path loads from: the first of .tga, .jpg,
// .png, .gif that exists (the loader's order), or nothing.
std::optional<std::string> ImageFile(const std::string& manifestPath);
// A manifest path with '\' turned into '/' and the data folder in front.
std::string OnDisk(const std::string& manifestPath);

struct Picture {
  int width = 0;
  int height = 0;
  bool hasPixels = false;      // only for PNG and TGA
  std::vector<uint8_t> alpha;  // one byte per pixel when hasPixels
  std::vector<uint8_t> light;  // Rec. 709 luma of the straight colour per pixel (PNG only)
};

// Size (and, where cheap, the alpha channel) of a PNG, TGA, JPEG or GIF file.
std::optional<Picture> ReadPicture(const std::string& file);

}  // namespace ArtTest
