// The application's pictures and resources: reading picture files into
// images, the shared-image cache under the display lock, and the manifest
// read at start-up.

#include <mutex>

#include "framework/app/ZingAppBase.h"
#include "framework/graphics/ImageLib.h"
#include "framework/graphics/PixelPool.h"

namespace Zing {

namespace {

const char* const kManifestPath = "properties\\resources.xml";

}  // namespace

std::unique_ptr<MemoryImage> ZingAppBase::GetDisplayImage(const std::string& fileName, bool commitBits) {
  ImageLib::ImagePtr picture = ImageLib::GetImage(fileName, true);
  if (!picture) return nullptr;
  auto image = std::make_unique<MemoryImage>();
  const int pictureWidth = picture->GetWidth(), pictureHeight = picture->GetHeight();
  image->AdoptBits(picture->TakeBits(), pictureWidth, pictureHeight);
  if (commitBits) image->CommitBits();
  return image;
}

SharedImageRef ZingAppBase::GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew) {
  std::lock_guard<std::recursive_mutex> lock(displayLock);
  return sharedImages->Get(fileName, variant, isNew);
}

void ZingAppBase::CleanupSharedImages() {
  std::lock_guard<std::recursive_mutex> lock(displayLock);
  // Pictures let go while the application runs (a group deleted for good,
  // such as the splash's) are not loaded again: their memory goes back to
  // the system rather than stay in the pixel pool.
  if (sharedImages->Cleanup()) PixelPool::Release();
}

void ZingAppBase::LoadResourceManifest() {
  if (!resourceManager->ParseResourcesFile(kManifestPath)) ShowResourceError(true);
}

void ZingAppBase::ShowResourceError(bool exitNow) {
  Popup(resourceManager->GetErrorText());
  if (exitNow) Exit(0);
}

}  // namespace Zing
