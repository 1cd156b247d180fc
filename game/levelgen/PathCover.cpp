// Random path covers of a board.

#include "game/levelgen/PathCover.h"

#include <algorithm>

namespace Lintwick::LevelGen {

PathCover::PathCover(Bits present, Random& random) : mPresent(present), mRandom(&random) {
  for (auto& link : mLink) link = {-1, -1};
  mPaths = Count(present);
}

void PathCover::AddLink(int a, int b) {
  mLink[a][mLink[a][0] >= 0 ? 1 : 0] = b;
  mLink[b][mLink[b][0] >= 0 ? 1 : 0] = a;
}

void PathCover::RemoveLink(int a, int b) {
  for (int cell : {a, b}) {
    const int other = cell == a ? b : a;
    auto& link = mLink[cell];
    if (link[0] == other) {
      link[0] = link[1];
      link[1] = -1;
    } else if (link[1] == other) {
      link[1] = -1;
    }
  }
}

Path PathCover::Walk(int end) const {
  Path path{end};
  int previous = -1, cell = end;
  for (;;) {
    const int next = mLink[cell][0] != previous ? mLink[cell][0] : mLink[cell][1];
    if (next < 0) return path;
    path.push_back(next);
    previous = cell;
    cell = next;
  }
}

Routes PathCover::Paths() const {
  Routes paths;
  Bits seen = 0;
  for (int cell = 0; cell < kBitCells; ++cell) {
    if (!Has(mPresent, cell) || Has(seen, cell) || Degree(cell) == 2) continue;
    paths.push_back(Walk(cell));
    for (int c : paths.back()) seen |= Bit(c);
  }
  return paths;
}

bool PathCover::Satisfied(int paths, int minCells) const { return mPaths == paths && ShortestEnd(minCells) < 0; }

// An end of some path shorter than `minCells`, or -1 when there is none.
int PathCover::ShortestEnd(int minCells) const {
  if (minCells <= 1) return -1;
  Bits seen = 0;
  for (int cell = 0; cell < kBitCells; ++cell) {
    if (!Has(mPresent, cell) || Has(seen, cell) || Degree(cell) == 2) continue;
    const Path path = Walk(cell);
    if (static_cast<int>(path.size()) < minCells) return cell;
    seen |= Bit(path.back());
  }
  return -1;
}

bool PathCover::Reach(int paths, int minCells, int maxMoves) {
  // Start by joining ends greedily along the board's edges in random order.
  std::vector<std::pair<int, int>> edges;
  for (int cell = 0; cell < kBitCells; ++cell) {
    if (!Has(mPresent, cell)) continue;
    if (Has(mPresent, cell + 1)) edges.emplace_back(cell, cell + 1);
    if (cell + kStride < kBitCells && Has(mPresent, cell + kStride)) edges.emplace_back(cell, cell + kStride);
  }
  mRandom->Shuffle(edges);
  for (const auto& [a, b] : edges) {
    if (mPaths <= paths) break;
    if (Degree(a) < 2 && Degree(b) < 2 && Walk(a).back() != b) {
      AddLink(a, b);
      --mPaths;
    }
  }
  for (int move = 0; move < maxMoves; ++move) {
    if (Satisfied(paths, minCells)) return true;
    Move(paths, minCells);
  }
  return Satisfied(paths, minCells);
}

bool PathCover::Shake(int moves, int paths, int minCells, int maxMoves) {
  for (int i = 0; i < moves; ++i) Move(paths, 0);
  return Reach(paths, minCells, maxMoves);
}

void PathCover::SplitLongest(int minCells) {
  Path longest;
  for (const Path& path : Paths()) {
    if (path.size() > longest.size()) longest = path;
  }
  if (longest.size() < 2) return;
  const int size = static_cast<int>(longest.size());
  const int lo = std::min(minCells, size / 2), hi = std::max(size - minCells, size - size / 2);
  const int cut = mRandom->Between(std::max(1, lo), std::max(1, std::min(size - 1, hi)));
  RemoveLink(longest[static_cast<std::size_t>(cut - 1)], longest[static_cast<std::size_t>(cut)]);
  ++mPaths;
}

void PathCover::Move(int paths, int minCells) {
  if (mPaths < paths) {
    SplitLongest(minCells);
    return;
  }
  // Half of the moves start from a path that is still too short.
  int u = mRandom->Below(2) == 0 ? ShortestEnd(minCells) : -1;
  if (u < 0) {
    std::vector<int> ends;
    for (int cell = 0; cell < kBitCells; ++cell) {
      if (Has(mPresent, cell) && Degree(cell) < 2) ends.push_back(cell);
    }
    u = ends[static_cast<std::size_t>(mRandom->Below(static_cast<int>(ends.size())))];
  }
  int candidates[4], n = 0;
  for (int v : {u - kStride, u - 1, u + 1, u + kStride}) {
    if (v >= 0 && v < kBitCells && Has(mPresent, v) && mLink[u][0] != v && mLink[u][1] != v) candidates[n++] = v;
  }
  if (n == 0) return;
  const int v = candidates[mRandom->Below(n)];

  // Where v lies on u's own path, the cell before it seen from u.
  const Path own = Walk(u);
  const auto at = std::find(own.begin(), own.end(), v);
  const bool samePath = at != own.end();
  if (!samePath && Degree(v) < 2 && mPaths > paths) {
    AddLink(u, v);
    --mPaths;
    return;
  }
  if (Degree(v) == 0) {
    // A single cell joins u's path; the cover then has one path too few and
    // the next move splits the longest.
    AddLink(u, v);
    --mPaths;
    return;
  }
  int w;
  if (samePath) {
    w = *(at - 1);
  } else {
    w = Degree(v) == 1 ? mLink[v][0] : mLink[v][mRandom->Below(2)];
  }
  RemoveLink(v, w);
  AddLink(u, v);
}

}  // namespace Lintwick::LevelGen
