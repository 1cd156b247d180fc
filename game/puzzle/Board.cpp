// Level files and building a level: the board, the nodes of every link, the
// solution paths, the level's points and its vortex allowance.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

// Record `level` of a file of fixed-size records. A level past the last
// record gets the last one, a partial last record is padded with zero bytes,
// and a file without any record gives a record of zeros.
std::vector<std::uint8_t> LevelRecord(const Zing::Buffer& file, int level, std::size_t size) {
  std::vector<std::uint8_t> record(size, 0);
  const std::size_t length = file.GetDataLen();
  if (length == 0) return record;
  const std::size_t records = (length + size - 1) / size;
  const std::size_t index = std::min(static_cast<std::size_t>(std::max(level, 0)), records - 1);
  const std::size_t start = index * size;
  const std::size_t available = std::min(size, length - start);
  std::copy_n(file.GetDataPtr() + start, available, record.begin());
  return record;
}

Puzzle::Puzzle(PuzzleHost& host) : mHost(host) {
  LoadLevelFiles();
  InitLevel();
}

Puzzle::~Puzzle() = default;

void Puzzle::LoadLevelFiles() {
  const std::pair<const char*, Zing::Buffer*> files[] = {
      {kBoardFile, &mBoardFile}, {kNodeFile, &mNodeFile}, {kSolutionFile, &mSolutionFile}};
  for (const auto& [path, buffer] : files) {
    if (mHost.FileExists(path) && !mHost.ReadBufferFromFile(path, *buffer)) {
      mHost.Popup(std::string("Could not read contents of ") + path);
    }
  }
}

void Puzzle::ParseLevelRecords() {
  const auto board = LevelRecord(mBoardFile, mLevel, kBoardRecordSize);
  for (int y = 0; y < kBoardSize; ++y) {
    const int mask = board[static_cast<std::size_t>(2 * y)] | (board[static_cast<std::size_t>(2 * y + 1)] << 8);
    for (int x = 0; x < kBoardSize; ++x) CellAt(x, y).present = (mask >> x) & 1;
  }

  // Only whole pairs are read, and no more than the record holds; a node on a
  // cell that already holds one is not placed, so every cell keeps one piece.
  const auto nodes = LevelRecord(mNodeFile, mLevel, kNodeRecordSize);
  const int n = std::min<int>(nodes[0], kMaxNodeCodes) & ~1;
  for (int j = 0; j < n; ++j) {
    const int code = nodes[static_cast<std::size_t>(1 + j)];
    const int x = CellCodeX(code);
    const int y = CellCodeY(code);
    if (IsOnBoard(x, y) && Cell(x, y).piece == nullptr) AddPiece(j / 2, x, y, true);
    mNodeCells[static_cast<std::size_t>(j)] = code;
  }
  DropLoneNodes();

  // A group that claims more codes than the record holds stops at its end.
  const auto solution = LevelRecord(mSolutionFile, mLevel, kSolutionRecordSize);
  std::size_t pos = 0;
  for (auto& path : mSolution) {
    if (pos >= solution.size()) break;
    const int count = solution[pos++];
    for (int i = 0; i < count && pos < solution.size(); ++i) path[static_cast<std::size_t>(i)] = solution[pos++];
  }
}

Piece* Puzzle::AddPiece(int link, int x, int y, bool isNode) {
  if (link < 0 || link >= kMaxLinks || !IsPresent(x, y)) return nullptr;
  Link& target = LinkAt(link);
  auto free = std::find(target.slots.begin(), target.slots.end(), nullptr);
  if (free == target.slots.end()) return nullptr;

  auto piece = std::make_unique<Piece>();
  piece->link = link;
  piece->isNode = isNode;
  piece->x = x;
  piece->y = y;
  piece->slot = static_cast<int>(free - target.slots.begin());
  if (isNode) {
    piece->cel = kFinishedCel;
    piece->frame = kFinishedFrame;
  }
  Piece* placed = piece.get();
  CellAt(x, y).piece = placed;
  *free = std::move(piece);
  ++target.count;
  return placed;
}

// A damaged node record can leave a link with one node only (its partner lay
// off the board, on a hole or on another node). Such a link can never be
// joined and would block the level, so its lone node is taken off the board.
void Puzzle::DropLoneNodes() {
  for (int link = 0; link < kMaxLinks; ++link) {
    if (LinkAt(link).count == 1) {
      for (int slot = 0; slot < 2; ++slot) {
        if (LinkAt(link).At(slot)) FreeSlot(link, slot);
      }
    }
  }
}

void Puzzle::FreeLevelObjects() {
  for (auto& link : mLinks) {
    for (auto& slot : link.slots) {
      if (slot && IsOnBoard(slot->x, slot->y) && CellAt(slot->x, slot->y).piece == slot.get()) {
        CellAt(slot->x, slot->y).piece = nullptr;
      }
      slot.reset();
    }
    link.count = 0;
    link.completed = false;
  }
  for (auto& vortex : mVortices) vortex.reset();
  for (auto& star : mStars) star.reset();
  mMark = nullptr;
  mCube = nullptr;
}

void Puzzle::InitLevel() {
  // Links: pieces are freed by RestartLevel; clearing here also drops anything
  // a caller left behind.
  FreeLevelObjects();

  mCurrentLink = -1;
  mCursorX = mCursorY = 0;
  DropQueuedSteps();
  mHeldInput.clear();
  mPressed = false;

  for (auto& cell : mBoard) cell = BoardCell{};

  mCubeFrame = mCubeDir = mCubeCel = mCubeEnd = mTargetFrame = 0;

  mMarkAction = mMarkPhase = mMarkTicks = 0;
  mHoverX = mHoverY = 0;
  mHoverOnPiece = false;
  mMouseX = mMouseY = 0;
  mPointerOnBoard = false;

  mLevelPoints = FreshLevelPoints(mLevel);
  mHintShown = false;
  for (auto& path : mSolution) path.fill(kNoCell);
  mNodeCells.fill(kNoCell);

  ParseLevelRecords();
  mVortexesLeft = GetVortexAllowance();
  LevelBuilt();
}

void Puzzle::RestartLevel() {
  FreeLevelObjects();
  InitLevel();
}

int Puzzle::GetVortexAllowance() const {
  int cells = 0;
  for (const auto& path : mSolution) {
    cells += static_cast<int>(std::count_if(path.begin(), path.end(), [](int code) { return code != kNoCell; }));
  }
  return 10 + cells;
}

}  // namespace Lintwick
