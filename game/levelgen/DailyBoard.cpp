// Making the daily board from a date: the weekday's plan and band, the
// date's seeds, and the certificate every offered board carries.

#include "game/levelgen/DailyBoard.h"

#include <array>

#include "game/levelgen/LevelFiles.h"
#include "game/levelgen/Random.h"
#include "game/levelgen/Solver.h"

namespace Lintwick::LevelGen {

namespace {

// One weekday's board: its size and pairs, how many holes, and the band of
// difficulty figures (search positions of the fill-rule solver) that makes
// the week climb from a quick Monday to a long Sunday.
struct DailyDay {
  int width, height;
  int minPairs, maxPairs;
  int minHoles, maxHoles;
  int minPathCells;
  DifficultyBand band;
};

constexpr std::array<DailyDay, 7> kWeek = {{
    {6, 6, 3, 4, 1, 4, 3, {25, 110}},
    {7, 6, 4, 4, 2, 5, 3, {35, 170}},
    {7, 7, 4, 5, 3, 6, 4, {45, 220}},
    {8, 7, 5, 5, 4, 8, 4, {50, 300}},
    {8, 8, 5, 6, 6, 10, 4, {55, 400}},
    {9, 9, 6, 7, 10, 13, 4, {75, 450}},
    {10, 10, 7, 7, 15, 19, 4, {90, 650}},
}};

// Search positions one candidate may spend before the next one is drawn: it
// keeps the day's board within a fraction of a second on any machine, and,
// being counted in positions, not time, it leaves the board the same on all.
constexpr std::int64_t kCandidateEffort = 120'000;

// A certificate's search may take far longer than the generator's own
// cut-off; a board it cannot settle even then is not offered.
constexpr std::int64_t kCertifyEffort = 50'000'000;

const DailyDay& DayOf(int weekday) { return kWeek[static_cast<std::size_t>(((weekday % 7) + 7) % 7)]; }

// How far a difficulty lies outside a band (0 inside it).
std::int64_t DistanceToBand(std::int64_t difficulty, const DifficultyBand& band) {
  if (difficulty < band.low) return band.low - difficulty;
  if (difficulty > band.high) return difficulty - band.high;
  return 0;
}

}  // namespace

DailySize DailySizeOf(int weekday) { return {DayOf(weekday).width, DayOf(weekday).height}; }

LevelPlan DailyPlan(int weekday) {
  const DailyDay& day = DayOf(weekday);
  LevelPlan plan;
  plan.stage = weekday;
  plan.width = day.width;
  plan.height = day.height;
  plan.minPairs = day.minPairs;
  plan.maxPairs = day.maxPairs;
  plan.minHoles = day.minHoles;
  plan.maxHoles = day.maxHoles;
  plan.minPathCells = day.minPathCells;
  plan.mustBeUnique = true;
  plan.candidates = 1;
  plan.effortBudget = kCandidateEffort;
  return plan;
}

DifficultyBand DailyBand(int weekday) { return DayOf(weekday).band; }

std::uint64_t DailySeed(const CalendarDate& date, int attempt) {
  Random random(kDailySeed ^ static_cast<std::uint64_t>(DayNumber(date)));
  std::uint64_t seed = random.Next();
  for (int k = 0; k < attempt; ++k) seed = random.Next();
  return seed;
}

bool CertifyFillUnique(const GeneratedLevel& level) {
  if (level.board.pairs.empty() || level.board.pairs.size() > static_cast<std::size_t>(kMaxPairs) ||
      !IsValidSolution(level.board, level.routes, true)) {
    return false;
  }
  const LevelFileSet files = EncodeLevels({level});
  const auto decoded = DecodeLevel(files.boards, files.nodes, files.solutions);
  if (!decoded || decoded->board.present != level.board.present || decoded->board.pairs != level.board.pairs ||
      decoded->routes != level.routes) {
    return false;
  }
  const FillCount count = CountFillSolutions(decoded->board, 2, kCertifyEffort);
  return !count.exhausted && count.solutions == 1;
}

std::optional<DailyBoard> MakeDailyBoard(const CalendarDate& date) {
  if (!IsValidDate(date)) return std::nullopt;
  const int weekday = Weekday(date);
  const LevelPlan plan = DailyPlan(weekday);
  const DifficultyBand band = DailyBand(weekday);
  std::optional<DailyBoard> nearest;
  std::int64_t nearestDistance = 0;
  for (int attempt = 0; attempt < kDailyAttempts; ++attempt) {
    GeneratedLevel level = GenerateLevel(plan, DailySeed(date, attempt));
    if (level.fillSolutions != 1 || !CertifyFillUnique(level)) continue;
    const std::int64_t distance = DistanceToBand(level.difficulty, band);
    if (nearest && distance >= nearestDistance) continue;
    level.stage = plan.stage;
    nearest = DailyBoard{date, std::move(level), attempt};
    nearestDistance = distance;
    if (distance == 0) break;
  }
  return nearest;
}

}  // namespace Lintwick::LevelGen
