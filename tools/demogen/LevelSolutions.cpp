// Reads the stored solutions the demos play. The files are our own build's
// output, but a folder given by hand may hold anything: a file that does not
// have the game's shape gives an error, never a guess.

#include "tools/demogen/LevelSolutions.h"

#include <fstream>
#include <iterator>

namespace Lintwick::DemoGen {

namespace {

constexpr std::size_t kLevels = 100;
constexpr std::size_t kNodeRecord = 16;
constexpr std::size_t kSolutionRecord = 100;
constexpr int kMaxNodes = 14;
constexpr int kBoardSize = 10;

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool OnBoard(int code) { return (code >> 4) < kBoardSize && (code & 15) < kBoardSize; }

int Byte(const std::string& bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

// One level's links; false when a code lies off the board or a path runs past
// the record.
bool ReadLevel(const std::string& nodes, const std::string& solutions, std::size_t level, LevelSolution& out) {
  const std::size_t nodeAt = level * kNodeRecord;
  const int count = Byte(nodes, nodeAt);
  if (count > kMaxNodes || count % 2 != 0) return false;
  std::size_t at = level * kSolutionRecord;
  const std::size_t end = at + kSolutionRecord;
  for (int pair = 0; pair < count / 2; ++pair) {
    SolutionLink link;
    link.target = Byte(nodes, nodeAt + 1 + 2 * pair);
    link.start = Byte(nodes, nodeAt + 2 + 2 * pair);
    if (at >= end) return false;
    const std::size_t length = static_cast<std::size_t>(Byte(solutions, at++));
    if (at + length > end) return false;
    for (std::size_t i = 0; i < length; ++i) link.path.push_back(Byte(solutions, at++));
    for (int code : link.path) {
      if (!OnBoard(code)) return false;
    }
    if (!OnBoard(link.start) || !OnBoard(link.target)) return false;
    out.push_back(std::move(link));
  }
  return true;
}

}  // namespace

std::optional<std::vector<LevelSolution>> ReadLevelSolutions(const std::string& levelsFolder, std::string& error) {
  std::string nodes;
  std::string solutions;
  if (!ReadWhole(levelsFolder + "/level_n.dat", nodes) || !ReadWhole(levelsFolder + "/level_l.dat", solutions)) {
    error = "cannot read the level files in " + levelsFolder;
    return std::nullopt;
  }
  if (nodes.size() != kLevels * kNodeRecord || solutions.size() != kLevels * kSolutionRecord) {
    error = "the level files in " + levelsFolder + " are not whole";
    return std::nullopt;
  }
  std::vector<LevelSolution> levels(kLevels);
  for (std::size_t level = 0; level < kLevels; ++level) {
    if (!ReadLevel(nodes, solutions, level, levels[level])) {
      error = "level " + std::to_string(level + 1) + " of " + levelsFolder + " is damaged";
      return std::nullopt;
    }
  }
  return levels;
}

}  // namespace Lintwick::DemoGen
