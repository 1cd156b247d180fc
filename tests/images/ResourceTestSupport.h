#pragma once

// An application on the window-less platform for the resource tests, a font
// factory that records what it was asked for, and a sound manager that
// records base volumes or refuses to load.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/ZingAppBase.h"
#include "framework/audio/SilentSoundManager.h"
#include "framework/platform/NullPlatform.h"
#include "framework/resource/FontFactory.h"

namespace ResourceTest {

class StubFont : public Zing::Font {
 public:
  Zing::Font* Duplicate() const override { return new StubFont(*this); }
  std::string descriptor;
};

class RecordingFontFactory : public Zing::FontFactory {
 public:
  std::unique_ptr<Zing::Font> CreateImageFont(const std::string& path, Zing::MemoryImage*,
                                              const std::vector<std::string>& fontTags) override {
    requests.push_back(path);
    tags = fontTags;
    auto font = std::make_unique<StubFont>();
    font->descriptor = path;
    return font;
  }
  std::unique_ptr<Zing::Font> CreateSysFont(const std::string& face, int size, bool, bool, bool, bool) override {
    requests.push_back(face + ":" + std::to_string(size));
    return std::make_unique<StubFont>();
  }
  std::vector<std::string> requests;
  std::vector<std::string> tags;
};

class RecordingSounds : public Zing::SilentSoundManager {
 public:
  using SilentSoundManager::LoadSound;
  bool LoadSound(unsigned int id, const std::string& name) override {
    return !refuseLoads && SilentSoundManager::LoadSound(id, name);
  }
  int GetFreeSoundId() override { return noFreeIds ? -1 : SilentSoundManager::GetFreeSoundId(); }
  bool SetBaseVolume(unsigned int id, double baseVolume) override {
    volumes[static_cast<int>(id)] = baseVolume;
    return true;
  }
  std::map<int, double> volumes;
  bool refuseLoads = false;
  bool noFreeIds = false;
};

class TestApp : public Zing::ZingAppBase {
 public:
  TestApp() : ZingAppBase(std::make_unique<Zing::Platform::NullServices>()) {
    soundManager = std::make_unique<RecordingSounds>();
    resourceManager->SetFontFactory(&fonts);
  }
  RecordingSounds& Sounds() { return static_cast<RecordingSounds&>(*soundManager); }
  Zing::SharedImageCache& Cache() { return *sharedImages; }
  RecordingFontFactory fonts;
};

}  // namespace ResourceTest
