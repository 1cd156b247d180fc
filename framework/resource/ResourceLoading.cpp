// Loading the manifest's records, group by group or one step at a time,
// letting go of them again, and fetching the loaded objects by id.

#include <cstring>

#include "framework/audio/SoundManager.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/ImageLib.h"
#include "framework/resource/ResourceManager.h"

namespace Zing {

namespace {

constexpr std::uint32_t kDefaultAlphaColor = 0xFFFFFF;
constexpr const char* kRefPrefix = "!ref:";

// "<What> size mismatch between <image> and <mask>".
std::string SizeMismatch(const char* what, const std::string& image, const std::string& mask) {
  return std::string(what) + " size mismatch between " + image + " and " + mask;
}

// Tags separated by commas, spaces, carriage returns, line feeds or tabs.
std::vector<std::string> SplitTags(const std::string& text) {
  std::vector<std::string> tags;
  std::string tag;
  for (char c : text + ",") {
    if (c == ',' || c == ' ' || c == '\r' || c == '\n' || c == '\t') {
      if (!tag.empty()) tags.push_back(tag);
      tag.clear();
    } else {
      tag += c;
    }
  }
  return tags;
}

}  // namespace

bool ResourceManager::LoadResources(const std::string& group) {
  StartLoadResources(group);
  while (LoadNextResource()) {
  }
  if (hasFailed) return false;
  loadedGroups.insert(group);
  return true;
}

void ResourceManager::StartLoadResources(const std::string& group) {
  error.clear();
  hasFailed = false;
  currentGroupName = group;
  auto it = groups.find(group);
  loadingGroup = it == groups.end() ? &emptyGroup : &it->second;
  loadingPosition = 0;
}

bool ResourceManager::LoadNextResource() {
  if (hasFailed || !loadingGroup) return false;
  while (loadingPosition < loadingGroup->size()) {
    BaseRes* res = (*loadingGroup)[loadingPosition++];
    if (res->fromProgram || res->IsLoaded()) continue;
    switch (res->type) {
      case BaseRes::kImage:
        return DoLoadImage(static_cast<ImageRes&>(*res));
      case BaseRes::kSound:
        return DoLoadSound(static_cast<SoundRes&>(*res));
      case BaseRes::kFont:
        return DoLoadFont(static_cast<FontRes&>(*res));
    }
  }
  return false;
}

int ResourceManager::GetNumResources(const std::string& group) const {
  if (group.empty()) return static_cast<int>(images.size() + sounds.size() + fonts.size());
  auto it = groups.find(group);
  if (it == groups.end()) return 0;
  int count = 0;
  for (const BaseRes* res : it->second) count += res->fromProgram ? 0 : 1;
  return count;
}

void ResourceManager::DeleteResources(const std::string& group) {
  for (ResMap* map : {&images, &sounds, &fonts}) {
    for (auto& [id, res] : *map) {
      if (!group.empty() && res->resGroup != group) continue;
      if (res->type == BaseRes::kSound) {
        auto& sound = static_cast<SoundRes&>(*res);
        SoundManager* soundManager = host ? host->GetSoundManager() : nullptr;
        if (soundManager && sound.soundId >= 0) soundManager->ReleaseSound(static_cast<unsigned int>(sound.soundId));
        sound.soundId = -1;
      }
      res->DeleteResource();
    }
  }
  loadedGroups.erase(group);
}

// ---------------------------------------------------------------- images

bool ResourceManager::DoLoadImage(ImageRes& res) {
  bool isNew = false;
  ImageLib::gAlphaComposeColor = res.alphaColor;
  ImageLib::gFindAlphaImages = res.autoFindAlpha;
  SharedImageRef ref = host ? host->GetSharedImage(res.path, res.variant, &isNew) : SharedImageRef();
  ImageLib::gAlphaComposeColor = kDefaultAlphaColor;
  ImageLib::gFindAlphaImages = true;
  MemoryImage* image = ref.Get();
  if (!image) return Fail("Failed to load image: " + res.path);
  if (isNew) {
    if (!res.alphaImage.empty() && !ApplyAlphaImage(res, *image)) return false;
    if (!res.alphaGridImage.empty() && !ApplyAlphaGrid(res, *image)) return false;
    ApplyImageFlags(res, *image);
  }
  res.image = std::move(ref);
  ResourceLoadedHook(&res);
  return true;
}

bool ResourceManager::ApplyAlphaImage(ImageRes& res, MemoryImage& image) {
  ImageLib::ImagePtr alpha = ImageLib::GetImage(res.alphaImage, true);
  if (!alpha) return Fail("Failed to load image: " + res.alphaImage);
  if (alpha->width != image.width || alpha->height != image.height)
    return Fail(SizeMismatch("AlphaImage", res.path, res.alphaImage));
  std::uint32_t* bits = image.GetBits();
  const std::uint32_t* mask = alpha->GetBits();
  const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  for (std::size_t i = 0; i < count; ++i) bits[i] = (bits[i] & 0x00FFFFFF) | (mask[i] << 24);
  image.BitsChanged();
  return true;
}

bool ResourceManager::ApplyAlphaGrid(ImageRes& res, MemoryImage& image) {
  ImageLib::ImagePtr grid = ImageLib::GetImage(res.alphaGridImage, true);
  if (!grid) return Fail("Failed to load image: " + res.alphaGridImage);
  const int celWidth = res.cols > 0 ? image.width / res.cols : 0;
  const int celHeight = res.rows > 0 ? image.height / res.rows : 0;
  if (grid->width != celWidth || grid->height != celHeight)
    return Fail(SizeMismatch("GridAlphaImage", res.path, res.alphaGridImage));
  std::uint32_t* bits = image.GetBits();
  const std::uint32_t* mask = grid->GetBits();
  for (int y = 0; y < celHeight * res.rows; ++y) {
    std::uint32_t* row = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
    const std::uint32_t* maskRow = mask + static_cast<std::size_t>(y % celHeight) * static_cast<std::size_t>(celWidth);
    for (int x = 0; x < celWidth * res.cols; ++x) row[x] = (row[x] & 0x00FFFFFF) | (maskRow[x % celWidth] << 24);
  }
  image.BitsChanged();
  return true;
}

void ResourceManager::ApplyImageFlags(ImageRes& res, MemoryImage& image) const {
  // Palletising commits the bits itself (from the colour table when it succeeds).
  if (res.palletize && !image.IsPalletized()) image.Palletize();
  image.CommitBits();
  bool purge = res.purgeBits;
  if (res.ddSurface && !image.HasAlpha()) purge = true;
  if (res.a4r4g4b4) image.textureHints |= Image::kHint4444;
  if (res.a8r8g8b8) image.textureHints |= Image::kHint8888;
  if (res.minimizeSubdivisions) image.textureHints |= Image::kHintMinSubdivisions;
  if (res.animInfo.type != AnimInfo::kNone) image.animInfo = std::make_unique<AnimInfo>(res.animInfo);
  image.numRows = res.rows;
  image.numCols = res.cols;
  if (purge) image.PurgeBits();
}

// ---------------------------------------------------------------- sounds and fonts

bool ResourceManager::DoLoadSound(SoundRes& res) {
  SoundManager* soundManager = host ? host->GetSoundManager() : nullptr;
  const int id = soundManager ? soundManager->GetFreeSoundId() : -1;
  if (id < 0) return Fail("Out of free sound ids");
  if (!soundManager->LoadSound(static_cast<unsigned int>(id), res.path))
    return Fail("Failed to load sound: " + res.path);
  if (res.volume >= 0) soundManager->SetBaseVolume(static_cast<unsigned int>(id), res.volume);
  if (res.pan != 0) soundManager->SetBasePan(static_cast<unsigned int>(id), res.pan);
  res.soundId = id;
  ResourceLoadedHook(&res);
  return true;
}

bool ResourceManager::DoLoadFont(FontRes& res) {
  if (res.sysFont) {
    if (fontFactory)
      res.font = fontFactory->CreateSysFont(res.path.substr(std::strlen("!sys:")), res.size, res.bold, res.italic,
                                            res.underline, res.shadow);
    if (!res.font) return Fail("Failed to load font: " + res.path);
  } else if (res.imagePath.empty() && res.path.rfind(kRefPrefix, 0) == 0) {
    const std::string name = res.path.substr(std::strlen(kRefPrefix));
    Font* other = GetFont(name);
    if (!other) return Fail("Ref font not found: " + name);
    res.font.reset(other->Duplicate());
    // The copy takes this record's own tags on top of those it was copied with.
    if (auto* imageFont = dynamic_cast<ImageFont*>(res.font.get())) {
      for (const std::string& tag : SplitTags(res.tags)) imageFont->AddTag(tag);
      imageFont->Prepare();
    }
  } else {
    if (!res.imagePath.empty()) {
      res.image = host ? host->GetSharedImage(res.imagePath, "", nullptr) : SharedImageRef();
      if (!res.image) return Fail("Failed to load image: " + res.imagePath);
    }
    if (fontFactory) res.font = fontFactory->CreateImageFont(res.path, res.image.Get(), SplitTags(res.tags));
    if (!res.font) {
      res.image.Release();
      return Fail("Failed to load font: " + res.path);
    }
  }
  ResourceLoadedHook(&res);
  return true;
}

// ---------------------------------------------------------------- lookups

const BaseRes* ResourceManager::Find(BaseRes::Type type, const std::string& id) const {
  const ResMap& map = type == BaseRes::kImage ? images : type == BaseRes::kSound ? sounds : fonts;
  auto it = map.find(id);
  return it == map.end() ? nullptr : it->second.get();
}

const ImageRes* ResourceManager::GetImageRes(const std::string& id) const {
  return static_cast<const ImageRes*>(Find(BaseRes::kImage, id));
}

SharedImageRef ResourceManager::GetImage(const std::string& id) const {
  const ImageRes* res = GetImageRes(id);
  return res ? res->image : SharedImageRef();
}

int ResourceManager::GetSound(const std::string& id) const {
  const auto* res = static_cast<const SoundRes*>(Find(BaseRes::kSound, id));
  return res ? res->soundId : -1;
}

Font* ResourceManager::GetFont(const std::string& id) const {
  const auto* res = static_cast<const FontRes*>(Find(BaseRes::kFont, id));
  return res ? res->font.get() : nullptr;
}

void ResourceManager::ThrowNotFound(const std::string& kind, const std::string& id) {
  hasFailed = false;  // a lookup reports its own text, whatever went before
  Fail(kind + " resource not found: " + id);
  throw ResourceManagerException(error);
}

MemoryImage* ResourceManager::GetImageThrow(const std::string& id) {
  const ImageRes* res = GetImageRes(id);
  if (res && res->image) return res->image.Get();
  if (res && res->fromProgram && allowMissingProgramResources) return nullptr;
  ThrowNotFound("Image", id);
}

int ResourceManager::GetSoundThrow(const std::string& id) {
  const auto* res = static_cast<const SoundRes*>(Find(BaseRes::kSound, id));
  if (res && res->soundId != -1) return res->soundId;
  if (res && res->fromProgram && allowMissingProgramResources) return -1;
  ThrowNotFound("Sound", id);
}

Font* ResourceManager::GetFontThrow(const std::string& id) {
  const auto* res = static_cast<const FontRes*>(Find(BaseRes::kFont, id));
  if (res && res->font) return res->font.get();
  if (res && res->fromProgram && allowMissingProgramResources) return nullptr;
  ThrowNotFound("Font", id);
}

}  // namespace Zing
