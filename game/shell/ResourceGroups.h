#pragma once

// The identifier lists of the three loading groups, each in its order of
// extraction, for the extraction operations and their tests.

#include <span>

namespace Zing {
class Font;
class Image;
}  // namespace Zing

namespace Lintwick {

// One identifier: its resource name and the global it fills (exactly one of
// the three pointers is set, by the identifier's kind).
struct ResourceEntry {
  const char* name;
  Zing::Image** image;
  Zing::Font** font;
  int* sound;
};

std::span<const ResourceEntry> InitGroup();
std::span<const ResourceEntry> SplashGroup();
std::span<const ResourceEntry> GameGroup();

}  // namespace Lintwick
