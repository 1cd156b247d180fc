#pragma once

// The puzzle: board, links, level data, drawing state and score, without a
// window, widget or image. The play screen derives from it and adds input
// handling and drawing; tests drive it directly.

#include <array>
#include <memory>

#include "framework/app/Buffer.h"
#include "game/puzzle/Piece.h"
#include "game/puzzle/PuzzleHost.h"

namespace Lintwick {

inline constexpr int kBoardSize = 10;
inline constexpr int kMaxLinks = 7;
inline constexpr int kLinkSlots = 100;
inline constexpr int kMaxNodeCodes = 14;
inline constexpr int kNoCell = -1;

inline constexpr const char* kBoardFile = "levels\\level_b.dat";
inline constexpr const char* kNodeFile = "levels\\level_n.dat";
inline constexpr const char* kSolutionFile = "levels\\level_l.dat";

// Record sizes of the three level files.
inline constexpr int kBoardRecordSize = 32;
inline constexpr int kNodeRecordSize = 16;
inline constexpr int kSolutionRecordSize = 100;

// A cell code names a cell in one byte: the column in the high nibble, the row
// in the low one.
constexpr int CellCode(int x, int y) { return (x << 4) | y; }
constexpr int CellCodeX(int code) { return code >> 4; }
constexpr int CellCodeY(int code) { return code & 15; }

struct BoardCell {
  bool present = false;     // absent cells are holes: never drawn or entered
  Piece* piece = nullptr;   // not owning; the link slots own the pieces
};

struct Link {
  std::array<std::unique_ptr<Piece>, kLinkSlots> slots;  // 0 target node, 1 start node, then the path
  int count = 0;
  bool completed = false;

  bool Exists() const { return slots[0] != nullptr; }
  Piece* Head() const { return count > 0 ? slots[static_cast<std::size_t>(count - 1)].get() : nullptr; }
};

// A vortex left where a piece was removed at a cost.
struct Vortex {
  int link = 0;
  int x = 0;
  int y = 0;
  int frame = 0;
};

// A visible star, or an invisible emitter that spawns them.
struct Star {
  int pattern = 0;
  int x = 0;
  int y = 0;
  int age = 0;
  bool emitter = false;
};

inline constexpr int kVortexSlots = 100;
inline constexpr int kStarSlots = 400;

class Puzzle {
 public:
  explicit Puzzle(PuzzleHost& host);
  Puzzle(const Puzzle&) = delete;
  Puzzle& operator=(const Puzzle&) = delete;
  virtual ~Puzzle();

  // Level files and level building.
  void LoadLevelFiles();
  void ParseLevelRecords();
  void AddPiece(int link, int x, int y, bool isNode);
  void InitLevel();
  void RestartLevel();
  int GetVortexAllowance() const;

  // Queries of the board.
  const BoardCell& Cell(int x, int y) const { return mBoard[Index(x, y)]; }
  bool IsOnBoard(int x, int y) const { return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize; }
  bool IsPresent(int x, int y) const { return IsOnBoard(x, y) && Cell(x, y).present; }
  const Link& GetLink(int link) const { return mLinks[static_cast<std::size_t>(link)]; }

  int GetLevel() const { return mLevel; }
  int GetScore() const { return mScore; }

  // The puzzle's state, read and written by the play screen and the tests.
  // Board and links of the current level.
  std::array<BoardCell, kBoardSize * kBoardSize> mBoard{};
  std::array<Link, kMaxLinks> mLinks{};
  std::array<int, kMaxNodeCodes> mNodeCells{};
  std::array<std::array<int, kLinkSlots>, kMaxLinks> mSolution{};
  int mLevel = 0;

  // Drawing state.
  int mCurrentLink = -1;
  int mCursorX = 0;
  int mCursorY = 0;
  int mPendingStep = 0;
  bool mPressed = false;
  Piece* mMark = nullptr;
  int mMarkAction = 0;
  int mMarkPhase = 0;
  int mMarkTicks = 0;

  // Rolling cube.
  Piece* mCube = nullptr;
  int mCubeFrame = 0;
  int mCubeDir = 0;
  int mCubeCel = 0;
  int mCubeEnd = 0;
  int mTargetFrame = 0;

  // Vortices, the vortex bar blink and stars.
  std::array<std::unique_ptr<Vortex>, kVortexSlots> mVortices{};
  int mBarBlink = 0;
  int mBarHighlight = 0;
  std::array<std::unique_ptr<Star>, kStarSlots> mStars{};

  // Hover and mouse.
  int mHoverX = 0;
  int mHoverY = 0;
  bool mHoverOnPiece = false;
  int mMouseX = 0;
  int mMouseY = 0;

  // Score, hints and transition.
  int mScore = 0;
  int mLevelPoints = 0;
  int mLevelPointsShown = 0;
  int mVortexesLeft = 0;
  int mHintsLeft = 10;
  bool mHintShown = false;
  int mShutterTick = 0;
  int mShutterOffset = 0;
  int mTransitionKind = 0;

 protected:
  // Called at the end of every level build, when the play screen rebuilds its
  // board image and picks the images of the links.
  virtual void LevelBuilt() {}

  static std::size_t Index(int x, int y) { return static_cast<std::size_t>(x * kBoardSize + y); }
  BoardCell& CellAt(int x, int y) { return mBoard[Index(x, y)]; }
  Link& LinkAt(int link) { return mLinks[static_cast<std::size_t>(link)]; }
  void FreeLevelObjects();

  PuzzleHost& mHost;

  // The three level files, read once and kept for the puzzle's life.
  Zing::Buffer mBoardFile;
  Zing::Buffer mNodeFile;
  Zing::Buffer mSolutionFile;
};

}  // namespace Lintwick
