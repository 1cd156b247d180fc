#pragma once

// A small reader of the resource manifest for the tests: it checks the
// manifest's grammar (ResourceManifest, Resources blocks with an id, the empty
// elements Image, Sound, Font and SetDefaults, no text) and resolves every
// declaration's id and path the way the resource manager does.

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
  std::string error;  // empty when the manifest is well formed
};

Manifest ReadManifest(const std::string& text);

}  // namespace ArtTest
