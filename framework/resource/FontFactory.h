#pragma once

// How the resource manager makes the fonts the manifest declares. The font
// work supplies the factory; a manager without one fails every font it has to
// load with "Failed to load font: <path>", so a missing font never goes
// unnoticed.

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Font.h"

namespace Zing {

class MemoryImage;

class FontFactory {
 public:
  virtual ~FontFactory() = default;

  // An image font read from the font descriptor at `descriptorPath`, drawn
  // with `image` when the manifest gave one (null: the descriptor names its
  // own images), with `tags` added and prepared for drawing. Null when the
  // descriptor does not read cleanly.
  virtual std::unique_ptr<Font> CreateImageFont(const std::string& descriptorPath, MemoryImage* image,
                                                const std::vector<std::string>& tags) = 0;
  // A font of the system's renderer.
  virtual std::unique_ptr<Font> CreateSysFont(const std::string& faceName, int pointSize, bool bold, bool italic,
                                              bool underline, bool shadow) = 0;
};

}  // namespace Zing
