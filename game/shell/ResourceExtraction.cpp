// Filling the resource identifiers of a loading group from the resource
// manager, fail-fast: the first lookup that fails stops the group, so the
// identifiers before it hold their resources and it and those after it keep
// what they held (null or 0 at start).

#include "framework/resource/ResourceManager.h"
#include "game/shell/ResourceGroups.h"
#include "game/shell/Resources.h"

namespace Lintwick {

namespace {

// The lookup throws before the store, so a failing identifier is left as it was.
void Store(Zing::ResourceManager& manager, const ResourceEntry& entry) {
  if (entry.image) *entry.image = manager.GetImageThrow(entry.name);
  if (entry.font) *entry.font = manager.GetFontThrow(entry.name);
  if (entry.sound) *entry.sound = manager.GetSoundThrow(entry.name);
}

bool ExtractGroup(Zing::ResourceManager* manager, std::span<const ResourceEntry> group) {
  if (!manager) return false;
  try {
    for (const ResourceEntry& entry : group) Store(*manager, entry);
  } catch (const Zing::ResourceManagerException&) {
    return false;
  }
  return true;
}

}  // namespace

bool ExtractInitResources(Zing::ResourceManager* manager) { return ExtractGroup(manager, InitGroup()); }

bool ExtractSplashResources(Zing::ResourceManager* manager) { return ExtractGroup(manager, SplashGroup()); }

bool ExtractGameResources(Zing::ResourceManager* manager) { return ExtractGroup(manager, GameGroup()); }

}  // namespace Lintwick
