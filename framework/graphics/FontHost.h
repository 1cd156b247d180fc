#pragma once

// What image fonts ask of the application: their glyph images, fetched from
// the application's shared-image cache, and a place to show a descriptor
// error to the player. The resource layer provides it; tests provide their own.

#include <memory>
#include <string>

namespace Zing {

class MemoryImage;

class FontHost {
 public:
  virtual ~FontHost() = default;
  // The image stored at `path` (a path as the archive-aware file functions
  // take it), or null when it cannot be read. `isNew` tells whether this call
  // loaded it, rather than finding it in the cache.
  virtual std::shared_ptr<MemoryImage> GetFontImage(const std::string& path, bool& isNew) = 0;
  // Shows an error message (a font descriptor that did not read cleanly).
  virtual void ShowFontError(const std::string& text) = 0;
};

}  // namespace Zing
