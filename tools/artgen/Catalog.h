// The catalogue of everything the generator writes: each image is saved in its
// file format as it is added, and remembered for the resource manifest and the
// contact sheet.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/artgen/Canvas.h"

namespace artgen {

enum class Format {
  Png,
  Tga,
  Gif,
  Jpeg,                // opaque
  JpegAlphaImage,      // JPEG plus a grey image named by the manifest's alphaimage attribute
  JpegUnderscoreAlpha  // JPEG plus a grey "_name" image that the loader finds by itself
};

struct ImageEntry {
  std::string group;
  std::string id;    // without the "IMAGE_" prefix
  std::string file;  // below images/, without extension
  Format format = Format::Png;
  int rows = 1;
  int cols = 1;
  // Set by the catalogue: more than 256 colours, so the manifest marks the
  // picture "nopal" and the game does not try to palettise it.
  bool manyColours = false;
};

struct OtherEntry {
  std::string group;
  std::string id;    // without the kind prefix
  std::string path;  // below the kind's folder
};

class Catalog {
 public:
  explicit Catalog(std::filesystem::path dataDir);

  void AddImage(ImageEntry entry, Canvas canvas);
  void AddFont(OtherEntry entry) { fonts_.push_back(std::move(entry)); }
  void AddSound(OtherEntry entry) { sounds_.push_back(std::move(entry)); }

  const std::filesystem::path& DataDir() const { return dataDir_; }
  std::filesystem::path ImagePath(const std::string& file, const char* extension) const;
  // The picture and entry of an image added before, or null.
  const Canvas* Find(const std::string& id, const ImageEntry** entry = nullptr) const;

  // properties/resources.xml with the groups in loading order.
  void WriteManifest() const;
  // contact-sheet.png: sample screens put together from the images, then every
  // image on a checkerboard with its cel grid and name.
  void WriteContactSheet(const std::vector<Canvas>& samples) const;

 private:
  struct Stored {
    ImageEntry entry;
    Canvas canvas;
  };
  std::filesystem::path dataDir_;
  std::vector<Stored> images_;
  std::vector<OtherEntry> fonts_;
  std::vector<OtherEntry> sounds_;
};

}  // namespace artgen
