#pragma once

// The generated resource manifest as the game's resource manager reads it:
// every declaration's kind, group, id and path (defaults applied, '/' for
// '\') and its attributes.

#include <map>
#include <string>
#include <vector>

namespace ArtTest {

struct Declaration {
  std::string kind;  // "Image", "Sound" or "Font"
  std::string group;
  std::string id;    // with the default id prefix in front
  std::string path;  // with the default path in front
  std::map<std::string, std::string> attributes;
};

struct Manifest {
  std::vector<Declaration> declarations;
  std::string error;  // empty when the manifest reads cleanly
};

// The manifest of the generated data folder.
Manifest ReadManifest();

}  // namespace ArtTest
