#include "framework/resource/ManifestFonts.h"

#include "framework/graphics/ImageFont.h"
#include "framework/graphics/SysFont.h"
#include "framework/resource/ResourceHost.h"

namespace Zing {

ManifestFonts::ManifestFonts(ResourceHost* resourceHost, std::function<void(const std::string&)> show)
    : host(resourceHost), showError(std::move(show)) {}

std::shared_ptr<MemoryImage> ManifestFonts::GetFontImage(const std::string& path, bool& isNew) {
  if (!host) return nullptr;
  SharedImageRef ref = host->GetSharedImage(path, "", &isNew);
  MemoryImage* image = ref.Get();
  if (!image) return nullptr;
  // The font keeps the cache's reference for as long as it uses the image.
  return std::shared_ptr<MemoryImage>(image, [ref](MemoryImage*) mutable { ref.Release(); });
}

void ManifestFonts::ShowFontError(const std::string& text) {
  lastError = text;
  if (showError) showError(text);
}

std::unique_ptr<Font> ManifestFonts::CreateImageFont(const std::string& descriptorPath, MemoryImage* image,
                                                     const std::vector<std::string>& tags) {
  lastError.clear();
  // The manifest's image outlives the font: the resource record holds both.
  std::unique_ptr<ImageFont> font =
      image ? std::make_unique<ImageFont>(std::shared_ptr<MemoryImage>(image, [](MemoryImage*) {}), descriptorPath)
            : std::make_unique<ImageFont>(this, descriptorPath);
  if (!font->IsLoaded()) return nullptr;
  for (const std::string& tag : tags) font->AddTag(tag);
  font->Prepare();
  return font;
}

std::unique_ptr<Font> ManifestFonts::CreateSysFont(const std::string& faceName, int pointSize, bool bold, bool italic,
                                                   bool underline, bool shadow) {
  auto font = std::make_unique<SysFont>(faceName, pointSize, bold, italic, underline);
  lastError = font->GetError();
  if (!font->IsValid()) return nullptr;
  font->drawShadow = shadow;
  return font;
}

}  // namespace Zing
