// levelgen: writes the game's three level files and their report into the
// folder given on the command line (the data folder's "levels").

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "framework/app/FileAccess.h"
#include "game/levelgen/Generator.h"
#include "game/levelgen/LevelFiles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: levelgen <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  const auto start = std::chrono::steady_clock::now();
  try {
    const auto levels = Lintwick::LevelGen::GenerateLevels();
    const auto files = Lintwick::LevelGen::EncodeLevels(levels);
    const std::string report = Lintwick::LevelGen::Report(levels);
    const std::pair<const char*, const std::string*> outputs[] = {{"level_b.dat", &files.boards},
                                                                  {"level_n.dat", &files.nodes},
                                                                  {"level_l.dat", &files.solutions},
                                                                  {"report.txt", &report}};
    for (const auto& [name, bytes] : outputs) {
      const std::string path = folder + "/" + name;
      if (!Zing::WriteBytesToFile(path, bytes->data(), bytes->size())) {
        std::fprintf(stderr, "levelgen: cannot write %s\n", path.c_str());
        return 1;
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "levelgen: %s\n", error.what());
    return 1;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("levelgen: %d levels generated in %.2f s\n", Lintwick::LevelGen::kLevelCount,
              static_cast<double>(elapsed.count()) / 1000.0);
  return 0;
}
