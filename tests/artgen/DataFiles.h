#pragma once

// Access to the generated data folder for the tests: where it is, which file a
// manifest path names, and the pixels of the images in it as the game loads them.

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
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, with a "_name" mask's alpha applied

  unsigned Alpha(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] >> 24; }
  // Rec. 709 luma of the colour.
  double Light(int x, int y) const;
};

// A picture file read by the game's own loader.
std::optional<Picture> ReadPicture(const std::string& file);

}  // namespace ArtTest
