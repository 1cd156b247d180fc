// soundgen: synthesises the game's sound effects and music and writes them as
// Ogg Vorbis files below the data folder given on the command line.
//
//   soundgen <data folder> [file path ...]
//
// With file paths (such as "sounds/cube_tap.ogg") only those are written.

#include <cstdio>
#include <string>
#include <vector>

#include "framework/app/FileAccess.h"
#include "tools/soundgen/SoundCatalog.h"

namespace {

bool Wanted(const std::string& path, const std::vector<std::string>& only) {
  if (only.empty()) return true;
  for (const std::string& name : only) {
    if (name == path) return true;
  }
  return false;
}

bool WriteSoundFile(const std::string& folder, const SoundGen::SoundFile& file) {
  const std::vector<unsigned char> bytes = SoundGen::BuildSoundFile(file);
  if (bytes.empty()) {
    std::fprintf(stderr, "soundgen: could not encode %s\n", file.path.c_str());
    return false;
  }
  const std::string target = folder + "/" + file.path;
  if (!Zing::WriteBytesToFile(target, bytes.data(), bytes.size())) {
    std::fprintf(stderr, "soundgen: could not write %s\n", target.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: soundgen <data folder> [file path ...]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<std::string> only(argv + 2, argv + argc);
  int written = 0;
  for (const SoundGen::SoundFile& file : SoundGen::SoundFiles()) {
    if (!Wanted(file.path, only)) continue;
    if (!WriteSoundFile(folder, file)) return 1;
    ++written;
  }
  if (written == 0) {
    std::fprintf(stderr, "soundgen: no such sound file\n");
    return 1;
  }
  return 0;
}
