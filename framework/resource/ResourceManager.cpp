// Reading the resource manifest: groups, defaults and one record per image,
// sound and font, with the first error kept along with its line and file.

#include "framework/resource/ResourceManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/resource/XMLParser.h"

namespace Zing {

namespace {

bool Has(const XMLElement& element, const char* name) { return element.attributes.count(name) != 0; }

std::string Attribute(const XMLElement& element, const char* name) {
  auto it = element.attributes.find(name);
  return it == element.attributes.end() ? std::string() : it->second;
}

// The file name of a path without its folders and extension.
std::string BareName(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithoutTrailingSeparator(std::string value) {
  if (!value.empty() && (value.back() == '/' || value.back() == '\\')) value.pop_back();
  return value;
}

int ReadInt(const std::string& text, int fallback = 0) {
  int value = fallback;
  std::sscanf(text.c_str(), "%d", &value);
  return value;
}

std::vector<int> ReadIntList(const std::string& text) {
  std::vector<int> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    values.push_back(ReadInt(item));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return values;
}

// Cel count, frame map, per-frame delays and total time from what was read.
void ComputeAnimation(AnimInfo& anim, int beginDelay, int endDelay) {
  anim.numCels = std::max(1, anim.numCels);
  anim.frameDelay = std::max(1, anim.frameDelay);
  if (anim.type == AnimInfo::kPingPong && anim.numCels > 1) {
    anim.frameMap.clear();
    for (int i = 0; i < anim.numCels; ++i) anim.frameMap.push_back(i);
    for (int i = anim.numCels - 2; i >= 1; --i) anim.frameMap.push_back(i);
  }
  if (!anim.frameMap.empty()) anim.numCels = static_cast<int>(anim.frameMap.size());
  const auto cels = static_cast<std::size_t>(anim.numCels);
  if (beginDelay > 0) {
    if (anim.perFrameDelay.empty()) anim.perFrameDelay.resize(1);
    anim.perFrameDelay[0] = beginDelay;
  }
  if (endDelay > 0) {
    if (anim.perFrameDelay.size() < cels) anim.perFrameDelay.resize(cels);
    anim.perFrameDelay[cels - 1] = endDelay;
  }
  if (anim.perFrameDelay.empty()) {
    anim.totalAnimTime = anim.numCels * anim.frameDelay;
    return;
  }
  anim.perFrameDelay.resize(cels);
  anim.totalAnimTime = 0;
  for (int& delay : anim.perFrameDelay) {
    if (delay < 1) delay = anim.frameDelay;
    anim.totalAnimTime += delay;
  }
}

bool ReadAnimation(const XMLElement& element, ImageRes& res, bool& valid) {
  const std::string anim = Attribute(element, "anim");
  valid = true;
  if (!Has(element, "anim") || anim == "none") return false;
  if (anim == "once") {
    res.animInfo.type = AnimInfo::kOnce;
  } else if (anim == "loop") {
    res.animInfo.type = AnimInfo::kLoop;
  } else if (anim == "pingpong") {
    res.animInfo.type = AnimInfo::kPingPong;
  } else {
    valid = false;
    return false;
  }
  return true;
}

}  // namespace

ResourceManager::ResourceManager(ResourceHost* resourceHost) : host(resourceHost) {}

ResourceManager::~ResourceManager() = default;

bool ResourceManager::Fail(const std::string& text) {
  if (hasFailed) return false;
  hasFailed = true;
  error = text;
  if (xmlParser) {
    if (xmlParser->GetCurrentLineNum() > 0) error += " on Line " + std::to_string(xmlParser->GetCurrentLineNum());
    if (!xmlParser->GetFileName().empty()) error += " in File '" + xmlParser->GetFileName() + "'";
  }
  return false;
}

ResourceManager::ResMap& ResourceManager::MapOf(BaseRes::Type type) {
  return type == BaseRes::kImage ? images : type == BaseRes::kSound ? sounds : fonts;
}

bool ResourceManager::ParseResourcesFile(const std::string& filename) {
  xmlParser = std::make_unique<XMLParser>();
  if (!xmlParser->OpenFile(filename)) {
    xmlParser.reset();
    return Fail("Resource file not found: " + filename);
  }
  XMLElement element;
  while (!hasFailed) {
    if (!xmlParser->NextElement(element)) {
      if (xmlParser->HasFailed()) Fail(xmlParser->GetErrorText());
      break;
    }
    if (element.type != XMLElement::Start) continue;
    if (element.value != "ResourceManifest") Fail("Expecting ResourceManifest tag");
    ParseResourceManifest();
    break;
  }
  xmlParser.reset();
  return !hasFailed;
}

bool ResourceManager::ParseResourceManifest() {
  XMLElement element;
  while (!hasFailed && xmlParser->NextElement(element)) {
    if (element.type == XMLElement::Start) {
      if (element.value != "Resources") return Fail("Invalid Section '" + element.value + "'");
      if (!Has(element, "id")) return Fail("No id specified.");
      currentGroupName = Attribute(element, "id");
      currentGroup = &groups[currentGroupName];
      if (!ParseResources()) return false;
    } else if (element.type == XMLElement::Text) {
      return Fail("Element Not Expected '" + element.value + "'");
    }
  }
  if (xmlParser->HasFailed()) Fail(xmlParser->GetErrorText());
  return !hasFailed;
}

bool ResourceManager::ParseResources() {
  XMLElement element;
  while (!hasFailed && xmlParser->NextElement(element)) {
    if (element.type == XMLElement::Start) {
      const std::string& name = element.value;
      bool parsed = false;
      if (name == "Image") {
        parsed = ParseImageResource(element);
      } else if (name == "Sound") {
        parsed = ParseSoundResource(element);
      } else if (name == "Font") {
        parsed = ParseFontResource(element);
      } else if (name == "SetDefaults") {
        parsed = ParseSetDefaults(element);
      } else {
        return Fail("Invalid Section '" + name + "'");
      }
      if (!parsed) return false;
      XMLElement end;
      if (!xmlParser->NextElement(end) || end.type != XMLElement::End) return Fail("Unexpected element found.");
    } else if (element.type == XMLElement::Text) {
      return Fail("Element Not Expected '" + element.value + "'");
    } else if (element.type == XMLElement::End) {
      return true;
    }
  }
  if (xmlParser->HasFailed()) Fail(xmlParser->GetErrorText());
  return !hasFailed;
}

bool ResourceManager::ParseSetDefaults(const XMLElement& element) {
  if (Has(element, "path")) defaultPath = WithoutTrailingSeparator(Attribute(element, "path")) + '/';
  if (Has(element, "idprefix")) defaultIdPrefix = WithoutTrailingSeparator(Attribute(element, "idprefix"));
  return true;
}

bool ResourceManager::ParseCommonResource(const XMLElement& element, BaseRes* res) {
  if (!Has(element, "path")) return Fail("No path specified.");
  const std::string path = Attribute(element, "path");
  res->fromProgram = path == "!program";
  res->path = !path.empty() && path[0] == '!' ? path : defaultPath + path;
  res->id = defaultIdPrefix + (Has(element, "id") ? Attribute(element, "id") : BareName(path));
  res->xmlAttributes = element.attributes;
  res->resGroup = currentGroupName;
  return true;
}

bool ResourceManager::DeclareResource(std::unique_ptr<BaseRes> res, const XMLElement& element) {
  ResMap& map = MapOf(res->type);
  auto existing = map.find(res->id);
  if (existing == map.end()) {
    if (currentGroup) currentGroup->push_back(res.get());
    map.emplace(res->id, std::move(res));
    return true;
  }
  hadAlreadyDefinedError = true;
  Fail("Resource already defined.");
  if (!allowAlreadyDefinedResources) return false;
  error.clear();
  hasFailed = false;
  existing->second->path = res->path;
  existing->second->xmlAttributes = element.attributes;
  return true;
}

bool ResourceManager::ParseImageResource(const XMLElement& element) {
  auto res = std::make_unique<ImageRes>();
  if (!ParseCommonResource(element, res.get())) return false;
  res->palletize = !Has(element, "nopal");
  res->a4r4g4b4 = Has(element, "a4r4g4b4");
  res->a8r8g8b8 = Has(element, "a8r8g8b8");
  res->ddSurface = Has(element, "ddsurface");
  // Without acceleration (the only display of this build) "nobits2d" applies
  // and "nobits3d" does not.
  res->purgeBits = Has(element, "nobits") || Has(element, "nobits2d");
  res->minimizeSubdivisions = Has(element, "minsubdivide");
  res->autoFindAlpha = !Has(element, "noalpha");
  if (Has(element, "alphaimage")) res->alphaImage = defaultPath + Attribute(element, "alphaimage");
  if (Has(element, "alphacolor")) {
    unsigned int color = res->alphaColor;
    std::sscanf(Attribute(element, "alphacolor").c_str(), "%x", &color);
    res->alphaColor = color;
  }
  res->variant = Attribute(element, "variant");
  if (Has(element, "alphagrid")) res->alphaGridImage = defaultPath + Attribute(element, "alphagrid");
  if (Has(element, "rows")) res->rows = ReadInt(Attribute(element, "rows"), 1);
  if (Has(element, "cols")) res->cols = ReadInt(Attribute(element, "cols"), 1);

  bool validAnim = true;
  if (ReadAnimation(element, *res, validAnim)) {
    AnimInfo& anim = res->animInfo;
    anim.frameDelay = ReadInt(Attribute(element, "framedelay"), 0);
    anim.numCels = std::max(res->rows, res->cols);
    if (Has(element, "perframedelay")) anim.perFrameDelay = ReadIntList(Attribute(element, "perframedelay"));
    if (Has(element, "framemap")) anim.frameMap = ReadIntList(Attribute(element, "framemap"));
    ComputeAnimation(anim, ReadInt(Attribute(element, "begindelay")), ReadInt(Attribute(element, "enddelay")));
  }
  if (!validAnim) return Fail("Invalid animation type.");
  return DeclareResource(std::move(res), element);
}

bool ResourceManager::ParseSoundResource(const XMLElement& element) {
  auto res = std::make_unique<SoundRes>();
  if (!ParseCommonResource(element, res.get())) return false;
  if (Has(element, "volume")) std::sscanf(Attribute(element, "volume").c_str(), "%lf", &res->volume);
  if (Has(element, "pan")) res->pan = ReadInt(Attribute(element, "pan"));
  return DeclareResource(std::move(res), element);
}

bool ResourceManager::ParseFontResource(const XMLElement& element) {
  auto res = std::make_unique<FontRes>();
  if (!ParseCommonResource(element, res.get())) return false;
  res->imagePath = Attribute(element, "image");
  res->tags = Attribute(element, "tags");
  constexpr const char* kSysPrefix = "!sys:";
  if (res->path.rfind(kSysPrefix, 0) == 0) {
    res->sysFont = true;
    res->size = ReadInt(Attribute(element, "size"), -1);
    if (res->size < 1) return Fail("SysFont needs point size");
    res->bold = Has(element, "bold");
    res->italic = Has(element, "italic");
    res->shadow = Has(element, "shadow");
    res->underline = Has(element, "underline");
  }
  return DeclareResource(std::move(res), element);
}

}  // namespace Zing
