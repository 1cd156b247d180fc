#pragma once

// The generated data folder as the game reads it: the manifest's declarations
// through the resource manager, and the pictures through the game's loader.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ArtTest {

// build/data, from LINTWICK_DATA_DIR.
std::string DataDir();
std::string ReadText(const std::string& path);
// A manifest path with '\' turned into '/' and the data folder in front.
std::string OnDisk(const std::string& manifestPath);
// The file an extension-less image path loads from: the first of .tga, .jpg,
// .png, .gif that exists (the loader's order), or nothing.
std::optional<std::string> ImageFile(const std::string& manifestPath);

struct Declaration {
  std::string kind;  // "Image", "Sound" or "Font"
  std::string group;
  std::string id;    // with the default id prefix in front
  std::string path;  // with the default path in front, '/' for '\'
  std::map<std::string, std::string> attributes;

  int Number(const char* key) const { return attributes.count(key) ? std::stoi(attributes.at(key)) : 1; }
};

// Every declaration of the generated manifest; `error` is the manager's text.
std::vector<Declaration> ReadManifest(std::string* error = nullptr);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, with a "_name" mask's alpha applied

  std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
  unsigned Alpha(int x, int y) const { return At(x, y) >> 24; }
  // Rec. 709 luma of the colour.
  double Light(int x, int y) const {
    return 0.2126 * ((At(x, y) >> 16) & 0xFF) + 0.7152 * ((At(x, y) >> 8) & 0xFF) + 0.0722 * (At(x, y) & 0xFF);
  }
};

// A picture file read by the game's own loader.
std::optional<Picture> ReadPicture(const std::string& file);

}  // namespace ArtTest
