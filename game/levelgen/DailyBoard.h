#pragma once

// The daily board: one board a day, the same for every player and made
// offline from the date alone. The date's day number seeds the generator;
// the weekday sets the board's size (6 x 6 on Monday up to 10 x 10 on Sunday)
// and the band its difficulty figure must fall in; and no board is offered
// before the fill-rule solver has certified, on the board exactly as the
// level records carry it, that its stored solution is the only way to join
// every pair and fill the board.
//
// The date -> seed mapping, fixed for all time (changing it changes every
// player's board): let D be the day number of the date (days since
// 1970-01-01, proleptic Gregorian). Candidate k (k = 0, 1, ...) of the day is
// the level the generator makes for the weekday's plan from seed S_k, where
// S_0, S_1, ... are the successive outputs of the generator's SplitMix64
// started from the state kDailySeed XOR D. The board of the day is the first
// candidate that is certified and whose difficulty lies in the weekday's
// band; when none of kDailyAttempts candidates is, the certified candidate
// nearest to the band (the earlier one on a tie).

#include <cstdint>
#include <optional>

#include "game/levelgen/CalendarDate.h"
#include "game/levelgen/Generator.h"

namespace Lintwick::LevelGen {

inline constexpr std::uint64_t kDailySeed = 0x4461696C79426F61ull;
inline constexpr int kDailyAttempts = 24;

// Board sizes by weekday, Monday first.
struct DailySize {
  int width;
  int height;
};
DailySize DailySizeOf(int weekday);

// The generator's plan for a weekday (0 Monday .. 6 Sunday).
LevelPlan DailyPlan(int weekday);

// The difficulty figures a weekday's board should have, both ends included.
struct DifficultyBand {
  std::int64_t low;
  std::int64_t high;
};
DifficultyBand DailyBand(int weekday);

// Seed of candidate `attempt` of a date (see the mapping above).
std::uint64_t DailySeed(const CalendarDate& date, int attempt);

// Whether a level may be offered: its records decode to the same board, its
// stored solution joins every pair and fills the board, and the fill-rule
// solver, run to the end, finds no second solution.
bool CertifyFillUnique(const GeneratedLevel& level);

struct DailyBoard {
  CalendarDate date;
  GeneratedLevel level;
  int attempt = 0;  // the candidate chosen
};

// The board of a date, or nothing when no candidate could be certified (the
// game then offers no board that day).
std::optional<DailyBoard> MakeDailyBoard(const CalendarDate& date);

}  // namespace Lintwick::LevelGen
