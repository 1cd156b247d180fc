#include "tests/graphics/FontTestHost.h"

#include "framework/graphics/ImageLib.h"

namespace ZingTest {

std::shared_ptr<Zing::MemoryImage> ReadImage(const std::string& path) {
  Zing::ImageLib::ImagePtr picture = Zing::ImageLib::GetImage(path, true);
  if (!picture) return nullptr;
  auto image = std::make_shared<Zing::MemoryImage>();
  image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
  return image;
}

}  // namespace ZingTest
