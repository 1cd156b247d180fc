// Encoding the levels into their records, and the level report.

#include "game/levelgen/LevelFiles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

namespace Lintwick::LevelGen {

namespace {

constexpr std::size_t kBoardRecord = 32;
constexpr std::size_t kNodeRecord = 16;
constexpr std::size_t kSolutionRecord = 100;

char Code(int cell) { return static_cast<char>((CellX(cell) << 4) | CellY(cell)); }

std::string BoardRecord(const Board& board) {
  std::string record(kBoardRecord, '\0');
  for (int y = 0; y < kGrid; ++y) {
    unsigned mask = 0;
    for (int x = 0; x < kGrid; ++x) mask |= Has(board.present, CellAt(x, y)) ? 1u << x : 0u;
    record[static_cast<std::size_t>(2 * y)] = static_cast<char>(mask & 0xFF);
    record[static_cast<std::size_t>(2 * y + 1)] = static_cast<char>(mask >> 8);
  }
  return record;
}

std::string NodeRecord(const Board& board) {
  std::string record(1, static_cast<char>(2 * board.pairs.size()));
  for (const auto& pair : board.pairs) {
    record += Code(pair[0]);
    record += Code(pair[1]);
  }
  record.resize(kNodeRecord, '\0');
  return record;
}

// Per link, the path's cells between its nodes, from next to the second node
// to next to the first.
std::string SolutionRecord(const Routes& routes) {
  std::string record;
  for (int p = 0; p < kMaxPairs; ++p) {
    if (static_cast<std::size_t>(p) >= routes.size()) {
      record += '\0';
      continue;
    }
    const Path& path = routes[static_cast<std::size_t>(p)];
    record += static_cast<char>(path.size() - 2);
    for (std::size_t i = 1; i + 1 < path.size(); ++i) record += Code(path[i]);
  }
  if (record.size() > kSolutionRecord) throw std::length_error("solution paths do not fit their record");
  record.resize(kSolutionRecord, '\0');
  return record;
}

struct Extent {
  int width = 0, height = 0;
};

Extent ExtentOf(Bits present) {
  int minX = kGrid, maxX = -1, minY = kGrid, maxY = -1;
  for (int cell = 0; cell < kBitCells; ++cell) {
    if (!Has(present, cell)) continue;
    minX = std::min(minX, CellX(cell));
    maxX = std::max(maxX, CellX(cell));
    minY = std::min(minY, CellY(cell));
    maxY = std::max(maxY, CellY(cell));
  }
  return maxX < 0 ? Extent{} : Extent{maxX - minX + 1, maxY - minY + 1};
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  char line[160];
  std::va_list values;
  va_start(values, format);
  std::vsnprintf(line, sizeof line, format, values);
  va_end(values);
  return line;
}

}  // namespace

LevelFileSet EncodeLevels(const std::vector<GeneratedLevel>& levels) {
  LevelFileSet files;
  for (const auto& level : levels) {
    if (level.board.pairs.empty() || level.board.pairs.size() > static_cast<std::size_t>(kMaxPairs) ||
        !IsValidSolution(level.board, level.routes, false)) {
      throw std::invalid_argument("a level's stored paths do not solve it");
    }
    files.boards += BoardRecord(level.board);
    files.nodes += NodeRecord(level.board);
    files.solutions += SolutionRecord(level.routes);
  }
  return files;
}

std::optional<GeneratedLevel> DecodeLevel(std::string_view boards, std::string_view nodes, std::string_view solutions) {
  if (boards.size() != kBoardRecord || nodes.size() != kNodeRecord || solutions.size() != kSolutionRecord) {
    return std::nullopt;
  }
  auto byte = [](std::string_view record, std::size_t at) { return static_cast<unsigned char>(record[at]); };
  auto cell = [](unsigned code) {
    return (code >> 4) < kGrid && (code & 15) < kGrid ? CellAt(code >> 4, code & 15) : -1;
  };
  GeneratedLevel level;
  for (int y = 0; y < kGrid; ++y) {
    const unsigned mask = byte(boards, 2u * y) | (byte(boards, 2u * y + 1) << 8);
    for (int x = 0; x < kGrid; ++x) level.board.present |= (mask >> x) & 1 ? Bit(CellAt(x, y)) : 0;
  }
  const std::size_t codes = byte(nodes, 0);
  if (codes % 2 != 0 || codes > 2 * kMaxPairs) return std::nullopt;
  for (std::size_t i = 1; i + 1 <= codes; i += 2) {
    const int first = cell(byte(nodes, i)), second = cell(byte(nodes, i + 1));
    if (first < 0 || second < 0) return std::nullopt;
    level.board.pairs.push_back({first, second});
  }
  std::size_t at = 0;
  for (const auto& pair : level.board.pairs) {
    const std::size_t count = byte(solutions, at++);
    if (at + count > kSolutionRecord) return std::nullopt;
    Path path{pair[1]};
    for (std::size_t i = 0; i < count; ++i) {
      const int next = cell(byte(solutions, at++));
      if (next < 0) return std::nullopt;
      path.push_back(next);
    }
    path.push_back(pair[0]);
    level.routes.push_back(std::move(path));
  }
  return level;
}

std::string Report(const std::vector<GeneratedLevel>& levels) {
  std::string text =
      "Lintwick levels\n\n"
      "board: extent of the present cells; filled: share of them the stored solution covers;\n"
      "fill-rule solutions: ways to join every pair while filling the board (\"unique\" is the aim);\n"
      "difficulty: search positions the fill-rule solver visits to settle that count.\n\n"
      "level  board  present  pairs  filled  fill-rule solutions  difficulty\n";
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const GeneratedLevel& level = levels[i];
    const Extent extent = ExtentOf(level.board.present);
    const int present = Count(level.board.present);
    int covered = 0;
    for (const Path& path : level.routes) covered += static_cast<int>(path.size());
    const char* uniqueness = level.fillSolutions == 1 ? "unique" : level.fillSolutions == 0 ? "none" : "several";
    text += Format("%5zu  %2dx%-2d  %7d  %5zu  %5d%%  %19s  %10lld\n", i + 1, extent.width, extent.height, present,
                   level.board.pairs.size(), present ? covered * 100 / present : 0, uniqueness,
                   static_cast<long long>(level.difficulty));
  }
  text += "\nmedian difficulty per block of ten levels\n";
  for (std::size_t first = 0; first < levels.size(); first += kBlockSize) {
    const std::size_t count = std::min<std::size_t>(kBlockSize, levels.size() - first);
    const std::int64_t twice = TwiceMedianDifficulty(levels, first, count);
    text += Format("levels %3zu-%-3zu  %lld%s\n", first + 1, first + count, static_cast<long long>(twice / 2),
                   twice % 2 ? ".5" : "");
  }
  return text;
}

}  // namespace Lintwick::LevelGen
