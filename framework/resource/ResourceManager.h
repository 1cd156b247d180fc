#pragma once

// The resources the manifest ("properties\resources.xml") declares: one
// record per image, sound and font, loaded group by group (a whole group at
// once, or one resource per step while the splash screen shows progress) and
// fetched by id. Pictures come from the application's shared-image cache,
// sounds from its sound manager, fonts from the font factory.
//
// Every failure keeps the first error text only; while the manifest is read
// the text ends with " on Line <n> in File '<name>'".
//
// Threads: a group may load on the loading thread while the main thread only
// reads progress counts; lookups run on the main thread after the group has
// loaded.

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/SharedImage.h"
#include "framework/resource/FontFactory.h"
#include "framework/resource/ResourceHost.h"

namespace Zing {

class XMLParser;
class XMLElement;

class ResourceManagerException : public std::runtime_error {
 public:
  explicit ResourceManagerException(const std::string& errorText) : std::runtime_error(errorText) {}
};

struct BaseRes {
  enum Type { kImage = 0, kSound = 1, kFont = 2 };

  explicit BaseRes(Type resType) : type(resType) {}
  BaseRes(const BaseRes&) = delete;
  BaseRes& operator=(const BaseRes&) = delete;
  virtual ~BaseRes() = default;
  // Lets go of the loaded object; the record stays declared.
  virtual void DeleteResource() {}
  virtual bool IsLoaded() const = 0;

  Type type;
  std::string id;
  std::string resGroup;
  std::string path;
  std::map<std::string, std::string> xmlAttributes;
  bool fromProgram = false;
};

struct ImageRes : BaseRes {
  ImageRes() : BaseRes(kImage) {}
  void DeleteResource() override { image.Release(); }
  bool IsLoaded() const override { return static_cast<bool>(image); }

  SharedImageRef image;
  std::string alphaImage;
  std::string alphaGridImage;
  std::string variant;
  bool autoFindAlpha = true;
  bool palletize = true;
  bool a4r4g4b4 = false;
  bool a8r8g8b8 = false;
  bool ddSurface = false;
  bool purgeBits = false;
  bool minimizeSubdivisions = false;
  int rows = 1;
  int cols = 1;
  std::uint32_t alphaColor = 0xFFFFFF;
  AnimInfo animInfo;
};

struct SoundRes : BaseRes {
  SoundRes() : BaseRes(kSound) {}
  bool IsLoaded() const override { return soundId != -1; }

  int soundId = -1;
  double volume = -1.0;  // negative: the loaded volume stays
  int pan = 0;
};

struct FontRes : BaseRes {
  FontRes() : BaseRes(kFont) {}
  void DeleteResource() override {
    font.reset();
    image.Release();
  }
  bool IsLoaded() const override { return font != nullptr; }

  std::unique_ptr<Font> font;
  SharedImageRef image;  // the glyph picture named by the `image` attribute
  std::string imagePath;
  std::string tags;
  bool sysFont = false;
  int size = 0;
  bool bold = false;
  bool italic = false;
  bool shadow = false;
  bool underline = false;
};

class ResourceManager {
 public:
  // `host` answers pictures and sounds; it outlives the manager.
  explicit ResourceManager(ResourceHost* host);
  ResourceManager(const ResourceManager&) = delete;
  ResourceManager& operator=(const ResourceManager&) = delete;
  virtual ~ResourceManager();

  // Reads the whole manifest; false (see GetErrorText) on the first error.
  bool ParseResourcesFile(const std::string& filename);

  // Loads every resource of the group not loaded yet.
  virtual bool LoadResources(const std::string& group);
  // Step-wise loading: start a group, then load one resource per call until
  // the call returns false (done, or failed: see HadError).
  virtual void StartLoadResources(const std::string& group);
  virtual bool LoadNextResource();
  // Resources of the group that the manifest supplies (all when empty).
  int GetNumResources(const std::string& group) const;
  // Lets go of the loaded objects of the group (of all when empty).
  virtual void DeleteResources(const std::string& group);
  bool IsGroupLoaded(const std::string& group) const { return loadedGroups.count(group) != 0; }

  // The loaded objects; the Throw forms record "<Kind> resource not found: id"
  // and throw ResourceManagerException when the id is unknown or not loaded.
  SharedImageRef GetImage(const std::string& id) const;
  virtual MemoryImage* GetImageThrow(const std::string& id);
  virtual int GetSoundThrow(const std::string& id);
  virtual Font* GetFontThrow(const std::string& id);
  int GetSound(const std::string& id) const;  // -1 when not loaded
  Font* GetFont(const std::string& id) const;
  // The image record of an id, for cel counts and the like (null when unknown).
  const ImageRes* GetImageRes(const std::string& id) const;

  bool HadError() const { return hasFailed; }
  const std::string& GetErrorText() const { return error; }

  // Fonts come from this factory (none: manifest fonts fail to load).
  void SetFontFactory(FontFactory* factory) { fontFactory = factory; }
  FontFactory* GetFontFactory() const { return fontFactory; }

  bool allowMissingProgramResources = false;
  bool allowAlreadyDefinedResources = false;
  bool hadAlreadyDefinedError = false;

 protected:
  virtual bool ParseCommonResource(const XMLElement& element, BaseRes* res);
  virtual bool ParseSoundResource(const XMLElement& element);
  virtual bool ParseImageResource(const XMLElement& element);
  virtual bool ParseFontResource(const XMLElement& element);
  virtual bool ParseSetDefaults(const XMLElement& element);
  virtual bool ParseResources();
  virtual bool DoLoadImage(ImageRes& res);
  virtual bool DoLoadFont(FontRes& res);
  virtual bool DoLoadSound(SoundRes& res);
  // Runs after each resource has loaded; nothing by default.
  virtual void ResourceLoadedHook(BaseRes* /*res*/) {}

  // Records the first failure (with the manifest position while reading it).
  bool Fail(const std::string& text);

 private:
  using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;

  bool ParseResourceManifest();
  bool DeclareResource(std::unique_ptr<BaseRes> res, const XMLElement& element);
  ResMap& MapOf(BaseRes::Type type);
  const BaseRes* Find(BaseRes::Type type, const std::string& id) const;
  [[noreturn]] void ThrowNotFound(const std::string& kind, const std::string& id);
  bool ApplyAlphaImage(ImageRes& res, MemoryImage& image);
  bool ApplyAlphaGrid(ImageRes& res, MemoryImage& image);
  void ApplyImageFlags(ImageRes& res, MemoryImage& image) const;

  ResourceHost* host;
  FontFactory* fontFactory = nullptr;
  std::set<std::string> loadedGroups;
  ResMap images;
  ResMap sounds;
  ResMap fonts;
  std::unique_ptr<XMLParser> xmlParser;
  std::string error;
  bool hasFailed = false;
  std::string currentGroupName;
  std::vector<BaseRes*>* currentGroup = nullptr;
  std::string defaultPath;
  std::string defaultIdPrefix;
  std::map<std::string, std::vector<BaseRes*>> groups;
  std::vector<BaseRes*>* loadingGroup = nullptr;
  std::size_t loadingPosition = 0;
  std::vector<BaseRes*> emptyGroup;
};

}  // namespace Zing
