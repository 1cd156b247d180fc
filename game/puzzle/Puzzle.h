#pragma once

// The puzzle: board, links, level data, drawing state and score, without a
// window, widget or image. The play screen derives from it and adds input
// handling and drawing; tests drive it directly.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "framework/app/Buffer.h"
#include "game/puzzle/Piece.h"
#include "game/puzzle/Progress.h"
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

// Record `level` of a level file of fixed-size records. A level past the last
// record gets the last one, a partial last record is padded with zero bytes,
// and a file without any record gives a record of zeros.
std::vector<std::uint8_t> LevelRecord(const Zing::Buffer& file, int level, std::size_t size);

// A present cell casts a shadow when it lies on the edge of the grid or next
// to a hole; `present(x, y)` answers for any cell, on the grid or not.
template <class Present>
bool CastsShadow(int x, int y, Present present) {
  return x == 0 || y == 0 || x == 9 || y == 9 || !present(x - 1, y) || !present(x + 1, y) || !present(x, y - 1) ||
         !present(x, y + 1);
}

// A cell code names a cell in one byte: the column in the high nibble, the row
// in the low one.
constexpr int CellCode(int x, int y) { return (x << 4) | y; }
constexpr int CellCodeX(int code) { return code >> 4; }
constexpr int CellCodeY(int code) { return code & 15; }

struct BoardCell {
  bool present = false;    // absent cells are holes: never drawn or entered
  Piece* piece = nullptr;  // not owning; the link slots own the pieces
};

struct Link {
  std::array<std::unique_ptr<Piece>, kLinkSlots> slots;  // 0 target node, 1 start node, then the path
  int count = 0;
  bool completed = false;

  bool Exists() const { return slots[0] != nullptr; }
  Piece* At(int slot) const {
    return slot >= 0 && slot < kLinkSlots ? slots[static_cast<std::size_t>(slot)].get() : nullptr;
  }
  Piece* Head() const { return At(count - 1); }
  bool HasPath() const { return count > 2; }
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

// Direction codes of a step; opposite directions add up to 7.
inline constexpr int kDirUp = 1;
inline constexpr int kDirLeft = 2;
inline constexpr int kDirRight = 5;
inline constexpr int kDirDown = 6;

// Steps of the drawing that may wait for their ticks: far more than one stroke
// across the board can cross, so only a runaway input stream meets the limit.
inline constexpr int kMaxQueuedSteps = 128;

// What the keyboard (or a game controller) asks of the board: the arrows move
// the highlight or step the drawing, Press is the left click on the
// highlighted cell, Cancel the right click.
enum class BoardKey { Up, Left, Right, Down, Press, Cancel };

// What clicking the marked piece does.
enum MarkAction {
  kMarkNone = 0,
  kMarkCutCompleted = 1,      // clear the link's completed flag, then cut its whole path
  kMarkCut = 2,               // cut the link's whole path and go on
  kMarkRetractCompleted = 3,  // clear the completed flag, then retract to the mark
  kMarkRetract = 4,           // retract the link to the marked piece and draw on from it
  kMarkStepBack = 5,          // remove the head the cube has passed and draw on from the mark
};

// The three ways a shutter transition ends.
enum TransitionKind { kNextLevel = 0, kReplayLevel = 1, kGameDone = 2 };

// How the rolling cube runs: following the drawing, or released and running to
// the end of its path on a completed or an open link.
inline constexpr int kCubeFollows = 0;
inline constexpr int kCubeEndCompleted = 1;
inline constexpr int kCubeEndOpen = 3;

// The board in widget coordinates: 45-pixel cells from (5, 15).
inline constexpr int kBoardLeft = 5;
inline constexpr int kBoardTop = 15;
inline constexpr int kCellPixels = 45;
inline constexpr int kBoardRight = kBoardLeft + kBoardSize * kCellPixels - 1;  // 454
inline constexpr int kBoardBottom = kBoardTop + kBoardSize * kCellPixels - 1;  // 464

// Whether a point in widget coordinates lies on the board.
constexpr bool IsBoardPoint(int x, int y) {
  return x >= kBoardLeft && x <= kBoardRight && y >= kBoardTop && y <= kBoardBottom;
}

// Centre of a cell in widget coordinates.
constexpr int CellCentreX(int x) { return 27 + kCellPixels * x; }
constexpr int CellCentreY(int y) { return 37 + kCellPixels * y; }

// Shutter transition: ticks of its stages and how far the shutters close.
inline constexpr int kShutterTravel = 225;
inline constexpr int kLastShutterTick = 101;
inline constexpr int kLevelChangeTick = 64;
inline constexpr int kGameDoneTick = 82;

// How far the shutters have closed at a tick of the transition: closing over
// ticks 28..47, opening over 83..101, standing (at `current`) otherwise.
int ShutterOffsetAt(int tick, int current);

// The points a level pays when it is finished without a vortex, and the least
// it pays however many vortices it cost.
inline constexpr int kLastLevel = 99;
constexpr int FreshLevelPoints(int level) { return 500 + (level * 4500) / kLastLevel; }
inline constexpr int kFloorLevelPoints = 10;

// Logic ticks the rolling cube takes to roll from one cell to the next.
inline constexpr int kCubeRollTicks = 14;

// Hints a game starts with.
inline constexpr int kHintsPerGame = 10;

class Puzzle {
 public:
  explicit Puzzle(PuzzleHost& host);
  Puzzle(const Puzzle&) = delete;
  Puzzle& operator=(const Puzzle&) = delete;
  virtual ~Puzzle();

  // Level files and level building.
  void LoadLevelFiles();
  void ParseLevelRecords();
  Piece* AddPiece(int link, int x, int y, bool isNode);
  void InitLevel();
  void RestartLevel();
  int GetVortexAllowance() const;

  // Input, in widget coordinates. clickCount is positive for the left (and
  // middle) button, negative for the right one.
  void HandleMouseMove(int x, int y);
  void HandleMouseDown(int x, int y, int clickCount);
  // The pointer left the play field without a move off the board.
  void HandleMouseLeave();
  // A key of the board, acting on the highlighted cell.
  void HandleBoardKey(BoardKey key);

  // One logic tick: every step of the puzzle in its fixed order. Nothing runs
  // while the puzzle is paused; answers whether the tick ran.
  bool Tick();
  void Pause(bool on) { mPauseCount += on ? 1 : -1; }
  bool IsPaused() const { return mPauseCount > 0; }

  // Game operations for the shell.
  void NewGame();
  // A game of one board given by its three level records (the daily board)
  // instead of the hundred of the level files, paying the points of level
  // index `level`. Solving it ends the game: the shutters close on "well
  // done" and the host hears of it once (BoardSolved); nothing else changes.
  void NewSingleBoardGame(const Zing::Buffer& board, const Zing::Buffer& nodes, const Zing::Buffer& solution,
                          int level);
  bool IsSingleBoardGame() const { return mSingleBoard; }
  void StopTransition();
  bool IsGameCompleteTransition() const;

  // Queries of the board.
  const BoardCell& Cell(int x, int y) const { return mBoard[Index(x, y)]; }
  bool IsOnBoard(int x, int y) const { return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize; }
  bool IsPresent(int x, int y) const { return IsOnBoard(x, y) && Cell(x, y).present; }
  const Link& GetLink(int link) const { return mLinks[static_cast<std::size_t>(link)]; }
  Piece* PieceAt(int x, int y) const { return IsOnBoard(x, y) ? Cell(x, y).piece : nullptr; }

  int GetLevel() const { return mLevel; }
  int GetScore() const { return mScore; }

  // The tick steps, in the order Tick runs them.
  void UpdateShutters();
  void UpdateVortices();
  void UpdateMarkBlink();
  void UpdateStars();
  void AnimatePieces();
  void StepCursor();
  void ClickCell();
  void UpdateCube();
  void UpdateHover();

  // Strokes: the cells a pointer move crossed become queued steps, which the
  // ticks take one at a time.
  void FollowStroke(bool fromKnown, int fromX, int fromY, int x, int y);
  void QueueStep(int direction);
  void DropQueuedSteps() { mQueuedSteps.clear(); }
  // Input that comes while a click waits for its tick is held, and follows
  // the click once the tick has handled it.
  void HoldInput(bool isKey, int a, int b);
  void ReplayHeldInput();
  // The cell the drawing reaches once every queued step is taken.
  void QueueTail(int& x, int& y) const;

  // Drawing and its marks.
  void StopDrawing();
  void CheckLevelComplete();
  // The perfect rule: every cell of the board holds a piece.
  bool CoversBoard() const;
  // The board as it stands, as a solve of the current level: its path
  // pieces in the order they were laid, the level points and whether it
  // covers the board.
  LevelSolve CurrentSolve() const;
  void LayPiece(int link, int x, int y);
  void MakeStart(Piece& node);
  void SetMark(Piece* piece, int action);
  void ClearMark();
  void HighlightRange(int link, int first, int last);
  void ClearHighlights(int link);
  void ClearAllHighlights();

  // Removing pieces: free while the cube has not passed them, with a vortex
  // (and its penalty) otherwise.
  void RemoveHead(int link);
  void TruncateTo(const Piece& piece);
  void RemoveHeadWithVortex(int link);
  void RetractTo(const Piece& piece);
  void CutPath(int link);
  void AddVortex(int link, int x, int y);

  // The rolling cube and the pieces' looks.
  void SetCube(Piece* piece);
  Piece* NextPiece(const Piece* piece) const;
  void ReleaseCube();
  static void StartGrow(Piece& piece);
  void FinishLink(int link);
  static void DropHead(Piece& piece);

  // Effects.
  void StartVortex(int link, int x, int y);
  void StartBarBlink();
  void AddStar(int pattern, int x, int y, bool emitter);
  void SparkleLink(int link);

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
  std::deque<int> mQueuedSteps;  // directions, oldest first
  bool mPressed = false;
  // Where the waiting click was made: a pointer position, or none for a key.
  bool mClickFromPointer = false;
  int mClickX = 0;
  int mClickY = 0;
  // A pointer move to (a, b), or board key a, that came while the click waited.
  struct HeldInput {
    bool isKey = false;
    int a = 0;
    int b = 0;
  };
  std::vector<HeldInput> mHeldInput;
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

  // Hover and mouse. The hover highlight doubles as the keyboard cursor:
  // it follows the pointer until a board key moves it, and the pointer again
  // once it moves over the board.
  int mHoverX = 0;
  int mHoverY = 0;
  bool mHoverOnPiece = false;
  int mMouseX = 0;
  int mMouseY = 0;
  bool mPointerOnBoard = false;  // (mMouseX, mMouseY) is where the pointer is, on the board
  bool mKeyboardCursor = false;  // the keys lead the highlight

  // Score, hints and transition.
  int mScore = 0;
  int mLevelPoints = 0;
  int mLevelPointsShown = 0;
  int mVortexesLeft = 0;
  int mHintsLeft = kHintsPerGame;
  bool mHintShown = false;
  int mShutterTick = 0;
  int mShutterOffset = 0;
  int mTransitionKind = kNextLevel;
  // The final score of a finished game has gone to the high-score table; the
  // transition then stands at its last closed tick until the shell stops it.
  bool mFinalScoreHandedOver = false;

  // A game of one board (see NewSingleBoardGame).
  bool mSingleBoard = false;

  // Pieces placed so far, which numbers every piece in the order it was laid.
  int mPiecesLaid = 0;
  // The level was just solved with every cell of the board covered; the
  // shutters say so until the next level is built.
  bool mPerfectSolve = false;

  // Logic ticks run only while this is 0 or less.
  int mPauseCount = 0;

 protected:
  // Called at the end of every level build, when the play screen rebuilds its
  // board image and picks the images of the links.
  virtual void LevelBuilt() {}

  static std::size_t Index(int x, int y) { return static_cast<std::size_t>(x * kBoardSize + y); }
  BoardCell& CellAt(int x, int y) { return mBoard[Index(x, y)]; }
  Link& LinkAt(int link) { return mLinks[static_cast<std::size_t>(link)]; }
  void FreeLevelObjects();
  void DropLoneNodes();

  // Frees the piece in one slot of a link and clears its cell.
  void FreeSlot(int link, int slot);
  // Frees the piece in one slot with a vortex at its cell.
  void FreeSlotWithVortex(int link, int slot);
  // The one step of a tick, in a direction.
  void ApplyStep(int direction);
  // A left (clickCount > 0) or right click on a cell, from the mouse or a key;
  // both callers refuse input during the transition first.
  void ClickAt(int cx, int cy, int clickCount);
  // The click on the cursor cell, once its tick has come.
  void ClickCursorCell();
  void MoveHighlight(int direction);
  void CarryOutMark(Piece& mark);
  void ClickNode(Piece& node);
  void ClickPathPiece(Piece& piece);
  void ClearCube();

  PuzzleHost& mHost;

  // The three level files, read once and kept for the puzzle's life.
  Zing::Buffer mBoardFile;
  Zing::Buffer mNodeFile;
  Zing::Buffer mSolutionFile;
};

}  // namespace Lintwick
