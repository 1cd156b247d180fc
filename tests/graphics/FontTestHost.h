#pragma once

// A font host for the tests: images given in code by path, or else read from
// picture files with the image loader; errors are collected instead of shown.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/FontHost.h"
#include "framework/graphics/ImageLib.h"
#include "framework/graphics/MemoryImage.h"

namespace ZingTest {

class FontTestHost : public Zing::FontHost {
 public:
  std::shared_ptr<Zing::MemoryImage> GetFontImage(const std::string& path, bool& isNew) override {
    const auto it = images.find(path);
    isNew = it == images.end();
    if (!isNew) return it->second;
    Zing::ImageLib::ImagePtr picture = Zing::ImageLib::GetImage(path, true);
    if (!picture) return nullptr;
    auto& image = images[path] = std::make_shared<Zing::MemoryImage>();
    image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
    return image;
  }
  void ShowFontError(const std::string& text) override { errors.push_back(text); }

  std::map<std::string, std::shared_ptr<Zing::MemoryImage>> images;
  std::vector<std::string> errors;
};

}  // namespace ZingTest
