// Depth-first search over path ends. At every position the search extends
// the open path end with the fewest ways on, so forced moves come first, and
// after every move it drops positions that can no longer lead to a solution.

#include "game/levelgen/Solver.h"

#include <algorithm>

namespace Lintwick::LevelGen {

namespace {

// The cells reachable in one step from `cell` (inside `allowed`), in a fixed order.
int StepsFrom(int cell, Bits allowed, int* out) {
  int n = 0;
  const int candidates[4] = {cell - kStride, cell - 1, cell + 1, cell + kStride};
  for (int next : candidates) {
    if (next >= 0 && next < kBitCells && Has(allowed, next)) out[n++] = next;
  }
  return n;
}

// Search state shared by both rules: every link grows from both of its ends
// (the fill rule) or from its second node only (the game's rule) until the
// ends meet.
struct PathState {
  int pairs = 0;
  std::array<std::array<int, 2>, kMaxPairs> end{};
  std::array<std::array<std::vector<int>, 2>, kMaxPairs> trail{};  // cells laid from each end, the node first
  std::array<bool, kMaxPairs> open{};
  int openCount = 0;
  Bits empty = 0;

  explicit PathState(const Board& board) {
    pairs = static_cast<int>(board.pairs.size());
    empty = board.present;
    for (int p = 0; p < pairs; ++p) {
      for (int e = 0; e < 2; ++e) {
        // End 0 starts at the second node, end 1 at the first.
        end[p][e] = board.pairs[p][1 - e];
        trail[p][e] = {end[p][e]};
        empty &= ~Bit(end[p][e]);
      }
      open[p] = true;
    }
    openCount = pairs;
  }

  Bits OpenEnds() const {
    Bits ends = 0;
    for (int p = 0; p < pairs; ++p) {
      if (open[p]) ends |= Bit(end[p][0]) | Bit(end[p][1]);
    }
    return ends;
  }

  Routes Collect() const {
    Routes routes(static_cast<std::size_t>(pairs));
    for (int p = 0; p < pairs; ++p) {
      Path& path = routes[static_cast<std::size_t>(p)];
      path = trail[p][0];
      path.insert(path.end(), trail[p][1].rbegin(), trail[p][1].rend());
    }
    return routes;
  }

  void Step(int p, int e, int cell) {
    empty &= ~Bit(cell);
    end[p][e] = cell;
    trail[p][e].push_back(cell);
  }

  void Unstep(int p, int e) {
    auto& t = trail[p][e];
    empty |= Bit(t.back());
    t.pop_back();
    end[p][e] = t.back();
  }

  void Close(int p) {
    open[p] = false;
    --openCount;
  }

  void Reopen(int p) {
    open[p] = true;
    ++openCount;
  }
};

bool ValidBoard(const Board& board) {
  Bits nodes = 0;
  if (board.pairs.size() > static_cast<std::size_t>(kMaxPairs)) return false;
  for (const auto& pair : board.pairs) {
    for (int cell : pair) {
      if (cell < 0 || cell >= kBitCells || !Has(board.present, cell) || Has(nodes, cell)) return false;
      nodes |= Bit(cell);
    }
  }
  return true;
}

// Counting solutions that cover every present cell.
class FillSearch {
 public:
  FillSearch(const Board& board, int cap, std::int64_t limit) : mState(board), mCap(cap), mLimit(limit) {}

  FillCount Run() {
    if (Viable()) Search();
    return mResult;
  }

 private:
  void Search() {
    if (mResult.solutions >= mCap) return;
    if (++mResult.effort > mLimit) {
      mResult.exhausted = true;
      return;
    }
    if (mState.openCount == 0) {
      if (mState.empty == 0 && mResult.solutions++ == 0) mResult.first = mState.Collect();
      return;
    }
    int bestPair = -1, bestEnd = 0, bestMoves = 6;
    int moves[4];
    for (int p = 0; p < mState.pairs && bestMoves > 1; ++p) {
      if (!mState.open[p]) continue;
      for (int e = 0; e < 2; ++e) {
        const int n = Options(p, e, moves);
        if (n == 0) return;
        if (n < bestMoves) bestPair = p, bestEnd = e, bestMoves = n;
      }
    }
    const int p = bestPair, e = bestEnd;
    const int steps = StepsFrom(mState.end[p][e], mState.empty, moves);
    if (Adjacent(mState.end[p][0], mState.end[p][1])) {
      mState.Close(p);
      if (Viable()) Search();
      mState.Reopen(p);
    }
    for (int i = 0; i < steps && !Stopped(); ++i) {
      mState.Step(p, e, moves[i]);
      if (Viable()) Search();
      mState.Unstep(p, e);
    }
  }

  bool Stopped() const { return mResult.solutions >= mCap || mResult.exhausted; }

  int Options(int p, int e, int* moves) const {
    const int n = StepsFrom(mState.end[p][e], mState.empty, moves);
    return n + (Adjacent(mState.end[p][0], mState.end[p][1]) ? 1 : 0);
  }

  // Whether the position can still be completed, by necessary conditions only:
  // every empty cell needs two ways in and out, and every region of empty
  // cells must be crossed by a link whose both ends border it, while every
  // open link needs a region (or adjacency) joining its ends.
  bool Viable() const {
    const Bits ends = mState.OpenEnds();
    const Bits usable = mState.empty | ends;
    const Bits l = usable >> 1, r = usable << 1, u = usable >> kStride, d = usable << kStride;
    const Bits twoWays = (l & r) | (u & d) | ((l | r) & (u | d));
    if ((mState.empty & ~twoWays) != 0) return false;

    unsigned joined = 0;
    Bits rest = mState.empty;
    while (rest != 0) {
      const Bits region = Flood(Bit(Lowest(rest)), mState.empty);
      rest &= ~region;
      const Bits border = Neighbours(region, ends);
      unsigned crossing = 0;
      for (int p = 0; p < mState.pairs; ++p) {
        if (mState.open[p] && Has(border, mState.end[p][0]) && Has(border, mState.end[p][1])) crossing |= 1u << p;
      }
      if (crossing == 0) return false;
      joined |= crossing;
    }
    for (int p = 0; p < mState.pairs; ++p) {
      if (mState.open[p] && !(joined & (1u << p)) && !Adjacent(mState.end[p][0], mState.end[p][1])) return false;
    }
    return true;
  }

  PathState mState;
  int mCap;
  std::int64_t mLimit;
  FillCount mResult;
};

// Finding one solution under the game's rule. Every solution can be shortened
// to one whose paths never touch themselves (a path that runs beside an
// earlier cell of its own could cut across), so only such paths are tried, each
// grown from its second node toward its first.
class GameRuleSearch {
 public:
  GameRuleSearch(const Board& board, std::int64_t limit) : mState(board), mLimit(limit) {
    for (int p = 0; p < mState.pairs; ++p) mOwn[p] = Bit(mState.end[p][0]) | Bit(mState.end[p][1]);
  }

  std::optional<Routes> Run() {
    if (Viable() && Search()) return mState.Collect();
    return std::nullopt;
  }

 private:
  bool Search() {
    if (++mEffort > mLimit) return false;
    if (mState.openCount == 0) return true;
    int bestPair = -1, bestMoves = 5;
    int moves[4];
    for (int p = 0; p < mState.pairs; ++p) {
      if (!mState.open[p]) continue;
      const int n = Moves(p, moves);
      if (n == 0) return false;
      if (n < bestMoves) bestPair = p, bestMoves = n;
    }
    const int p = bestPair;
    if (Adjacent(mState.end[p][0], mState.end[p][1])) {
      // Next to its target a path can only finish: going on would touch it.
      mState.Close(p);
      if (Viable() && Search()) return true;
      mState.Reopen(p);
      return false;
    }
    const int n = Moves(p, moves);
    for (int i = 0; i < n; ++i) {
      mState.Step(p, 0, moves[i]);
      mOwn[p] |= Bit(moves[i]);
      if (Viable() && Search()) return true;
      mOwn[p] &= ~Bit(moves[i]);
      mState.Unstep(p, 0);
    }
    return false;
  }

  // Steps from the head that do not touch the path's own earlier cells.
  int Moves(int p, int* moves) const {
    if (Adjacent(mState.end[p][0], mState.end[p][1])) return 1;
    int steps[4];
    const int head = mState.end[p][0];
    const int n = StepsFrom(head, mState.empty, steps);
    int count = 0;
    const Bits allowedTouch = Bit(head) | Bit(mState.end[p][1]);
    for (int i = 0; i < n; ++i) {
      if ((Neighbours(Bit(steps[i]), mOwn[p]) & ~allowedTouch) == 0) moves[count++] = steps[i];
    }
    return count;
  }

  // Every open link still needs a way from its head to its target.
  bool Viable() const {
    for (int p = 0; p < mState.pairs; ++p) {
      if (!mState.open[p]) continue;
      const int head = mState.end[p][0], target = mState.end[p][1];
      if (Adjacent(head, target)) continue;
      const Bits reach = Flood(Neighbours(Bit(head), mState.empty), mState.empty);
      if (!Has(Neighbours(reach, Bit(target)), target)) return false;
    }
    return true;
  }

  PathState mState;
  std::array<Bits, kMaxPairs> mOwn{};
  std::int64_t mLimit;
  std::int64_t mEffort = 0;
};

}  // namespace

FillCount CountFillSolutions(const Board& board, int cap, std::int64_t effortLimit) {
  if (!ValidBoard(board) || cap <= 0) return {};
  return FillSearch(board, cap, effortLimit).Run();
}

std::optional<Routes> SolveGameRule(const Board& board, std::int64_t effortLimit) {
  if (!ValidBoard(board)) return std::nullopt;
  return GameRuleSearch(board, effortLimit).Run();
}

}  // namespace Lintwick::LevelGen
