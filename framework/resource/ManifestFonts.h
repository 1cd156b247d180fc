#pragma once

// The fonts the manifest declares, made for the resource manager: image
// fonts read from their descriptors (their glyph images taken from the
// shared-image cache of the resource host), fonts of the older widths format
// drawn from the manifest's image, and system fonts.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/FontHost.h"
#include "framework/resource/FontFactory.h"

namespace Zing {

class ResourceHost;

class ManifestFonts : public FontFactory, public FontHost {
 public:
  // `showError` shows a descriptor error to the player (none: not shown).
  ManifestFonts(ResourceHost* host, std::function<void(const std::string&)> showError);

  std::unique_ptr<Font> CreateImageFont(const std::string& descriptorPath, MemoryImage* image,
                                        const std::vector<std::string>& tags) override;
  std::unique_ptr<Font> CreateSysFont(const std::string& faceName, int pointSize, bool bold, bool italic,
                                      bool underline, bool shadow) override;

  std::shared_ptr<MemoryImage> GetFontImage(const std::string& path, bool& isNew) override;
  void ShowFontError(const std::string& text) override;

  // Why the last font could not be made ("" when it could).
  const std::string& GetLastError() const { return lastError; }

 private:
  ResourceHost* host;
  std::function<void(const std::string&)> showError;
  std::string lastError;
};

}  // namespace Zing
