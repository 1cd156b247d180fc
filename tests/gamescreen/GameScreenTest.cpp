// The play screen: drawing, read back from images whose cels are solid colours naming image and
// cel; its rhythm of ticks; what hints cost and show; and the saved game: its exact bytes,
// continuing from it, and damaged files, which never build a board that play could not have made.

#include <gtest/gtest.h>

#include <tuple>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Widget.h"
#include "game/puzzle/GameScreen.h"
#include "game/puzzle/SavedGameRecord.h"
#include "game/shell/Resources.h"
#include "tests/puzzle/BoardInvariants.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace {

using namespace LintwickTest;
using Lintwick::CellCentreX;
using Lintwick::CellCentreY;

// The colour of cel `cel` (row * cols + col) of the image tagged `tag`.
constexpr std::uint32_t CelColour(int tag, int cel) {
  return 0xFF000000u | (static_cast<std::uint32_t>(tag) << 16) | static_cast<std::uint32_t>(cel);
}

// Tags of the images: the board's, the play's effects', the hint miniature's.
enum BoardTag { kBkg = 1, kCell, kShadow, kLink0 = 10, kCube0 = 20, kVortex0 = 30 };
enum EffectTag { kHighlights = 40, kTarget, kMark, kStarSmall, kStarBig, kShutters };
enum TextTag { kEffectTexts = 46, kDigits, kVortexLine };
enum HintTag { kHintBkg = 50, kHintCell, kHintShadow, kHintNodes, kHintLinks, kHintSticks };

// A play screen over twelve copies of a level given as a map, beside a panel, drawn with stand-ins
// for the play field's artwork: made in code with the cel layouts of the real images, every cel one
// opaque colour that names its image and cel, so a test reads back which layer drew a pixel.
struct CodeScreen : ::testing::Test {
  CodeScreen(const std::vector<std::string>& rows, const std::vector<std::vector<int>>& solution) {
    using namespace Lintwick;
    // Link cels smaller than the cube's, so the cube's base cel shows as a ring around a piece's link cel.
    for (int c = 0; c < 7; ++c) {
      Install(LinkImage(c), kLink0 + c, 22, 1, 31, 31);
      Install(RollingCubeImage(c), kCube0 + c, 14, 2, 41, 41);
      Install(VortexImage(c), kVortex0 + c, 15, 1, 40, 40);
    }
    // The image, its tag, its columns and rows of cels, a cel's size; the hint link cels have an eighth,
    // that no link may draw.
    const std::tuple<Zing::Image**, int, int, int, int, int> standIns[] = {
        {&IMAGE_GAME_BKG, kBkg, 1, 1, 470, 480},         {&IMAGE_CELL, kCell, 1, 1, 45, 45},
        {&IMAGE_SHADOW_PIECE, kShadow, 1, 1, 51, 51},    {&IMAGE_HIGHLIGHTS, kHighlights, 2, 1, 45, 45},
        {&IMAGE_TARGET, kTarget, 20, 1, 11, 11},         {&IMAGE_MARK, kMark, 2, 1, 45, 45},
        {&IMAGE_STAR_SMALL, kStarSmall, 7, 1, 9, 9},     {&IMAGE_STAR_BIG, kStarBig, 7, 1, 15, 15},
        {&IMAGE_SHUTTERS, kShutters, 1, 2, 464, 230},    {&IMAGE_EFFECT_TEXTS, kEffectTexts, 1, 11, 200, 20},
        {&IMAGE_DIGITS, kDigits, 10, 1, 16, 20},         {&IMAGE_VORTEX_LINE, kVortexLine, 1, 2, 200, 4},
        {&IMAGE_HINT_BKG, kHintBkg, 1, 1, 132, 132},     {&IMAGE_HINT_CELL, kHintCell, 1, 1, 11, 11},
        {&IMAGE_HINT_SHADOW, kHintShadow, 1, 1, 17, 17}, {&IMAGE_HINT_NODES, kHintNodes, 7, 1, 10, 10},
        {&IMAGE_HINT_LINKS, kHintLinks, 8, 1, 6, 6},     {&IMAGE_HINT_STICKS, kHintSticks, 7, 2, 8, 8}};
    for (const auto& [id, tag, cols, celRows, w, h] : standIns) Install(*id, tag, cols, celRows, w, h);
    LevelFiles files;
    files.Add(LevelFromMap(rows, solution), 12);
    files.InstallInto(host);
    screen = std::make_unique<GameScreen>(host, &panel);  // draws its board cache with the stand-ins
  }
  ~CodeScreen() override {
    for (Zing::Image** id : installed) *id = nullptr;
  }

  // A stand-in of `cols` x `rows` cels, installed as `id` while the test lasts.
  void Install(Zing::Image*& id, int tag, int cols, int rows, int celW, int celH) {
    const int w = cols * celW, h = rows * celH;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        pixels[static_cast<std::size_t>(y) * w + x] = CelColour(tag, (y / celH) * cols + x / celW);
    auto& image = images.emplace_back(std::make_unique<Zing::MemoryImage>());
    image->SetBits(pixels.data(), w, h);
    image->numCols = cols;
    image->numRows = rows;
    id = image.get();
    installed.push_back(&id);
  }

  // The pixel at (x, y) of a w x h picture that `draw` drew.
  template <typename Draw>
  std::uint32_t Drawn(Draw draw, int w, int h, int x, int y) {
    Zing::MemoryImage frame;
    Paint(frame, draw, w, h);
    return frame.GetPixel(x, y);
  }
  template <typename Draw>
  void Paint(Zing::MemoryImage& frame, Draw draw, int w, int h) {
    frame.Create(w, h);
    frame.SetImageMode(false, false);  // opaque, like the screen
    Zing::Graphics g(&frame);
    (screen.get()->*draw)(&g);
  }
  // Ticks, adding every frame of the screen and of the hint panel to `frames`.
  void TickAndDraw(int ticks = 1) {
    for (int i = 0; i < ticks; ++i) {
      screen->Tick();
      Zing::MemoryImage play, hint;
      Paint(play, &Lintwick::GameScreen::Draw, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight);
      Paint(hint, &Lintwick::GameScreen::DrawHint, 170, 480);
      frames = Fnv(play.GetBits(), 4u * Lintwick::kGameScreenWidth * Lintwick::kGameScreenHeight, frames);
      frames = Fnv(hint.GetBits(), 4u * 170 * 480, frames);
    }
  }
  std::uint64_t frames = Fnv("", 0);
  bool drawing = false;  // whether Click and Step draw the frame of their tick

  // The program starting again: a new screen over the same files, continuing the saved game unless told not to.
  void Restart(bool continueGame = true) {
    screen = std::make_unique<Lintwick::GameScreen>(host, nullptr);
    if (continueGame) screen->ContinueGame();
  }

  void Click(int x, int y) {
    screen->HandleMouseDown(CellCentreX(x), CellCentreY(y), 1);
    drawing ? TickAndDraw() : void(screen->Tick());
  }
  void Step(int x, int y) {
    screen->HandleMouseMove(CellCentreX(x), CellCentreY(y));
    drawing ? TickAndDraw() : void(screen->Tick());
  }
  void Settle() {
    for (int i = 0; i < 200 && screen->mCube; ++i) screen->Tick();
  }

  std::vector<std::unique_ptr<Zing::MemoryImage>> images;
  std::vector<Zing::Image**> installed;
  FakeHost host;
  Zing::Widget panel;  // the menu panel beside the play field
  std::unique_ptr<Lintwick::GameScreen> screen;
};

// Link 0 runs from its start node at (1, 1) to its target at (5, 1); the bottom-left cell is a hole.
struct GameScreenDraw : CodeScreen {
  GameScreenDraw()
      : CodeScreen({"..........", ".a...A....", "..........", "..........", "..........", "..........", "..........",
                    "..........", "..........", "#........."},
                   {{0x21, 0x31, 0x41}}) {}
  std::uint32_t Pixel(int x, int y) {
    return Drawn(&Lintwick::GameScreen::Draw, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight, x, y);
  }
};

// Every frame of a level played through all its looks, pinned in one number:
// hover, the cube rolling every way, growing pieces, a mark and its blink, a
// vortex and the bar's blink, the keyboard cursor, the stars of a joined link,
// the shutters closing and opening on the next level, and the hint beside.
TEST_F(GameScreenDraw, EveryFrameOfALevelPlayedToTheNext) {
  screen->UseHint();
  drawing = true;
  Step(5, 1);
  Click(1, 1);
  for (int x = 2; x <= 4; ++x) Step(x, 1);
  TickAndDraw(30);
  Step(3, 1);  // back over the head the cube has passed: a mark
  TickAndDraw(12);
  Click(3, 1);  // confirmed: a vortex
  TickAndDraw(3);
  for (auto [x, y] : {std::pair{3, 2}, {2, 2}, {2, 3}, {3, 3}, {4, 3}, {4, 2}, {4, 1}}) {
    Step(x, y);  // rolling every way
    TickAndDraw(14);
  }
  screen->hasFocus = true;
  screen->HandleBoardKey(Lintwick::BoardKey::Right);  // into the target
  TickAndDraw(120);
  EXPECT_EQ(std::tuple(screen->GetLevel(), screen->mShutterTick, frames), std::tuple(1, 0, 0xab578a5b4da14c00ull));
}

TEST_F(GameScreenDraw, ShuttersStayOnTheBoardRowsWithTheirCaptionsAndPoints) {
  screen->mShutterTick = 70;
  screen->mShutterOffset = Lintwick::kShutterTravel;
  screen->mTransitionKind = Lintwick::kNextLevel;
  screen->mLevelPointsShown = 2772;
  // Drawn where the shell places the screen, beside the menu panel, the
  // picture is the same, pixel for pixel. (A next level's shutters, captions
  // and points are pinned by every frame of the played level.)
  Zing::MemoryImage alone, placed;
  Paint(alone, &Lintwick::GameScreen::Draw, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight);
  placed.Create(Lintwick::kGameScreenX + Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight);
  placed.SetImageMode(false, false);
  Zing::Graphics g(&placed);
  g.Translate(Lintwick::kGameScreenX, 0);
  g.ClipRect(0, 0, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight);
  screen->Draw(&g);
  for (int y = 0; y < Lintwick::kGameScreenHeight; ++y)
    for (int x = 0; x < Lintwick::kGameScreenWidth; ++x)
      ASSERT_EQ(placed.GetPixel(Lintwick::kGameScreenX + x, y), alone.GetPixel(x, y)) << x << ", " << y;

  // The caption rows on both sides of every boundary, for each kind of
  // transition: {kind, tick, top row, bottom row (-1: the level points)}.
  using enum Lintwick::TransitionKind;
  const int captions[][4] = {{kReplayLevel, 64, 0, 2}, {kReplayLevel, 65, 7, 8}, {kGameDone, 62, 3, 4},
                             {kGameDone, 63, 5, 5},    {kGameDone, 66, 5, 5},    {kGameDone, 67, 6, -1}};
  for (const auto& [kind, tick, top, bottom] : captions) {
    screen->mTransitionKind = kind;
    screen->mShutterTick = tick;
    EXPECT_EQ(Pixel(140, 210), CelColour(kEffectTexts, top)) << kind << " at " << tick;
    EXPECT_EQ(bottom < 0 ? Pixel(205, 255) : Pixel(140, 257),
              bottom < 0 ? CelColour(kDigits, 2) : CelColour(kEffectTexts, bottom))
        << kind << " at " << tick;
  }
  // A perfect board says so in place of "level complete"; the game's end keeps its words.
  screen->mPerfectSolve = true;
  for (const auto& [kind, top, bottom] : {std::tuple{kNextLevel, 9, 10}, std::tuple{kGameDone, 3, 4}}) {
    screen->mTransitionKind = kind;
    screen->mShutterTick = 40;
    EXPECT_EQ(std::pair(Pixel(140, 210), Pixel(140, 257)),
              std::pair(CelColour(kEffectTexts, top), CelColour(kEffectTexts, bottom)))
        << kind;
  }
}

// A logic tick every fifth update, the menu panel marked dirty after every tick, and a paused
// screen standing still. (The whole shell plays a level through window messages.)
TEST_F(GameScreenDraw, TicksEveryFifthUpdateMarkThePanelAndStandStillWhenPaused) {
  screen->HandleMouseMove(CellCentreX(1), CellCentreY(1));
  panel.dirty = false;
  for (int i = 1; i < Lintwick::kUpdatesPerTick; ++i) screen->Update();
  EXPECT_NE(screen->mHoverX, 1);  // no tick has placed the hover yet
  EXPECT_FALSE(panel.dirty);
  screen->Pause(true);
  for (int i = 0; i < 20; ++i) screen->Update();
  EXPECT_EQ(screen->updateCount, Lintwick::kUpdatesPerTick - 1);
  screen->Pause(false);
  screen->Update();  // the fifth update runs the tick; the panel follows level and score
  EXPECT_EQ(std::tuple(screen->mHoverX, screen->mHoverY, panel.dirty), std::tuple(1, 1, true));
}

// Link 0 along row 1; link 1 with a solution whose second code is not a neighbour of the first; link 2 down column 6.
struct Hints : CodeScreen {
  Hints()
      : CodeScreen({"..........", ".a..A.c...", "..........", ".b.B..C...", ".........."},
                   {{0x21, 0x31}, {0x23, 0x27}, {0x62}}) {}

  // The menu panel's pixel after the game screen drew its hint into it.
  std::uint32_t Pixel(int x, int y) { return Drawn(&Lintwick::GameScreen::DrawHint, 170, 480, x, y); }
};

TEST_F(Hints, OneHintPerLevelTenPerGame) {
  screen->UseHint();
  screen->UseHint();
  EXPECT_EQ(std::pair(screen->GetHintsLeft(), screen->mHintShown), std::pair(9, true));

  // A replayed level takes the miniature away and gives nothing back.
  screen->mShutterTick = 1;
  screen->mTransitionKind = Lintwick::kReplayLevel;
  while (screen->mShutterTick != 0) screen->Tick();
  EXPECT_EQ(std::pair(screen->GetHintsLeft(), screen->mHintShown), std::pair(9, false));

  for (int level = 1; level < 11; ++level) {
    screen->UseHint();
    EXPECT_EQ(screen->mHintShown, level < 10) << level;
    screen->mLevel += 1;
    screen->RestartLevel();
  }
  EXPECT_EQ(screen->GetHintsLeft(), 0);
  screen->NewGame();
  EXPECT_EQ(screen->GetHintsLeft(), Lintwick::kHintsPerGame);
}

TEST_F(Hints, TheMiniatureShowsTheWholeSolution) {
  // Cell (x, y) of the miniature is centred at (32 + 12x, 276 + 12y).
  EXPECT_EQ(Pixel(44, 288), 0u);  // nothing before a hint is bought
  // Bought: the background, the nodes, the solution's cells and the sticks
  // between neighbours (across from a to (2, 1), down column 6 and into its
  // target; none below (2, 3), whose next code (2, 7) is no neighbour).
  screen->UseHint();
  EXPECT_EQ(Pixel(104, 306), CelColour(kHintSticks, 9));
  Zing::MemoryImage hint;
  Paint(hint, &Lintwick::GameScreen::DrawHint, 170, 480);
  EXPECT_EQ(Fnv(hint.GetBits(), 4u * 170 * 480), 0x27fdc2643b185883ull);
  // The player's own pieces are no part of it: only the nodes and the solution show.
  screen->AddPiece(0, 1, 0, false);
  EXPECT_NE(Pixel(44, 276), CelColour(kHintNodes, 0));
}

// Twelve copies of one level: link 0 from (1, 1) to (4, 1), link 1 from
// (1, 3) to (3, 3); row 4 starts with a hole and the rows below are holes.
struct SavedGame : CodeScreen {
  SavedGame()
      : CodeScreen({"..........", ".a..A.....", "..........", ".b.B......", "#........."}, {{0x21, 0x31}, {0x23}}) {}

  // Link 0 joined; link 1 drawn one cell from its target node, which makes that node its start.
  void PlayPartly() {
    Click(1, 1);
    for (int x = 2; x <= 4; ++x) Step(x, 1);
    Settle();
    Click(3, 3);
    Step(2, 3);
    Settle();
  }
  std::vector<std::uint8_t> Bytes() const {
    const Zing::Buffer b = screen->SavedGameBytes();
    return {b.GetDataPtr(), b.GetDataPtr() + b.GetDataLen()};
  }
  void Install(const std::vector<std::uint8_t>& bytes) { host.files[kSavePath].assign(bytes.begin(), bytes.end()); }
  // What the screen holds of a saved game, in the order of the file.
  std::string Holds() const {
    const Lintwick::GameScreen& s = *screen;
    std::ostringstream text;
    text << s.GetLevel() << " " << s.mHintShown << " " << s.GetHintsLeft() << " " << s.GetScore() << " "
         << s.mLevelPoints << "/" << s.mLevelPointsShown << " " << s.mVortexesLeft << " " << s.mShutterTick << "/"
         << s.mShutterOffset << "/" << s.mTransitionKind;
    for (int link = 0; link < 2; ++link) text << " " << s.GetLink(link).count << (s.GetLink(link).completed ? "+" : "");
    return text.str() + (s.SavedGameWasDamaged() ? " damaged" : "");
  }
};

TEST_F(SavedGame, WritesEveryFieldAndEveryPieceInItsPlaceAndTheFurthestLevel) {
  PlayPartly();
  ASSERT_EQ(std::pair(screen->GetLink(0).completed, screen->GetLink(1).count), std::pair(true, 3));

  screen->mLevel = 7;
  screen->mHintShown = true;
  screen->mHintsLeft = 4;
  screen->mScore = -2;  // signed, little-endian
  screen->mLevelPoints = 0x1234;
  screen->mVortexesLeft = 13;
  screen->mShutterTick = 70;
  screen->mShutterOffset = 225;
  screen->mTransitionKind = Lintwick::kGameDone;
  screen->mLevelPointsShown = 2772;
  screen->SaveGame();

  const std::vector<std::uint8_t> expected = {
      7,    1,    4,                                   // level, hint shown, hints left
      0xFE, 0xFF, 0xFF, 0xFF,                          // score -2
      0x34, 0x12,                                      // level points
      13,   0,                                         // vortex allowance left
      70,   0,                                         // transition tick
      225,  0,                                         // shutter offset
      2,                                               // transition kind
      0xD4, 0x0A,                                      // level points shown, 2772
      1,    4,    0x41, 0x11, 0x21, 0x31,              // link 0: completed, target, start, path
      0,    3,    0x13, 0x33, 0x23,                    // link 1: open
      0,    0,    0,    0,    0,    0,    0, 0, 0, 0,  // links 2..6 absent
  };
  EXPECT_EQ(std::pair(host.Saved(), host.settings["UnlockedLevel"]), std::pair(expected, 7));

  // A finished game, its score handed over, is saved without the transition that would pay it again.
  screen->mShutterTick = Lintwick::kGameDoneTick;
  screen->mFinalScoreHandedOver = true;
  screen->SaveGame();
  EXPECT_EQ(host.Saved()[11] + host.Saved()[13], 0);

  // The furthest level reached only grows, from none stored.
  host.settings.erase("UnlockedLevel");
  for (auto [level, furthest] : {std::pair{1, 1}, {5, 5}, {9, 9}, {8, 9}}) {
    screen->mLevel = level;
    screen->SaveGame();
    EXPECT_EQ(host.settings["UnlockedLevel"], furthest) << level;
  }
  EXPECT_TRUE(host.popups.empty());

  // A failed settings write is reported; the file is still written.
  host.files.erase(kSavePath);
  host.settingsWritable = false;
  screen->mLevel = 10;
  screen->SaveGame();
  EXPECT_EQ(host.files.count(kSavePath), 1u);
  EXPECT_EQ(host.popups, std::vector<std::string>{"Couldn't save \"UnlockedLevel\" to registry"});
}

TEST_F(SavedGame, ContinueRestoresTheGameExactlyAndAChosenLevelKeepsScoreAndHints) {
  PlayPartly();
  screen->mLevel = 7;
  screen->mScore = 1234;
  screen->mHintsLeft = 5;
  screen->UseHint();
  screen->mLevelPoints = 700;
  screen->mVortexesLeft = 4;
  const std::vector<std::uint8_t> saved = Bytes();
  screen->SaveGame();

  Restart();
  EXPECT_EQ(std::tuple(screen->SavedGameWasDamaged(), Bytes(), BoardFault(*screen)), std::tuple(false, saved, ""));
  // The joined link in its finished look, the open one in its open look.
  const Lintwick::Piece &joined = *screen->GetLink(0).At(3), &open = *screen->GetLink(1).At(2);
  EXPECT_EQ(std::tuple(joined.cel, joined.frame), std::tuple(Lintwick::kFinishedCel, Lintwick::kFinishedFrame));
  EXPECT_EQ(std::tuple(open.cel, open.frameLimit, screen->mCube, screen->mBarBlink, screen->mBarHighlight),
            std::tuple(Lintwick::kOpenCel, Lintwick::kOpenFrame, static_cast<Lintwick::Piece*>(nullptr), 0, 0));

  // Nothing was damaged, so closing again simply saves.
  const int writes = host.writes;
  screen->SaveGame();
  EXPECT_EQ(host.writes, writes + 1);

  // A chosen level starts fresh with the saved score and hints (as the shell's level chooser
  // shows), whatever the screen was showing; without a saved game it still starts, as a new game.
  Restart(false);
  screen->mShutterTick = 70;
  screen->mShutterOffset = 225;
  screen->mBarBlink = screen->mBarHighlight = 1;
  screen->StartAtLevel(0);
  EXPECT_EQ(std::tuple(screen->GetLevel(), screen->GetScore(), screen->mHintShown, screen->GetLink(0).count),
            std::tuple(0, 1234, false, 2));
  EXPECT_EQ(std::tuple(screen->mShutterTick, screen->mShutterOffset, screen->mBarBlink, screen->mBarHighlight),
            std::tuple(0, 0, 0, 0));
  host.files.erase(kSavePath);
  screen->StartAtLevel(4);
  EXPECT_EQ(std::tuple(screen->GetLevel(), screen->GetScore(), screen->GetHintsLeft()),
            std::tuple(4, 0, Lintwick::kHintsPerGame));
  screen->SaveGame();  // nothing was there to keep: saved even unplayed
  EXPECT_FALSE(host.Saved().empty());
}

TEST_F(SavedGame, ATransitionResumesAtItsTick) {
  PlayPartly();
  Step(1, 3);  // link 1 reaches its target: the level is done
  ASSERT_EQ(screen->mShutterTick, 1);
  while (screen->mShutterTick != 70) screen->Tick();
  const std::vector<std::uint8_t> saved = Bytes();
  screen->SaveGame();
  const int score = screen->GetScore();

  Restart();
  EXPECT_EQ(Bytes(), saved);
  screen->Tick();
  EXPECT_EQ(std::pair(screen->mShutterTick, screen->mShutterOffset), std::pair(71, Lintwick::kShutterTravel));
  while (screen->mShutterTick != 0) screen->Tick();
  EXPECT_EQ(std::pair(screen->GetLevel(), screen->GetScore()), std::pair(1, score));

  // A finished game's transition hands its score over on a screen that had
  // already handed over the score of an earlier game.
  std::vector<std::uint8_t> done = saved;
  done[0] = Lintwick::kLastLevel;
  done[15] = Lintwick::kGameDone;
  done[11] = 70;
  Install(done);
  screen->mFinalScoreHandedOver = true;
  screen->ContinueGame();
  ASSERT_EQ(screen->mShutterTick, 70);
  for (int i = 0; i < 20; ++i) screen->Tick();
  EXPECT_EQ(std::pair(host.Count("HighScores"), screen->GetLevel()), std::pair(1, 0));

  // Saved in the tick before the final score is handed over, the game loads sound and hands it over then.
  screen->StartAtLevel(Lintwick::kLastLevel);
  screen->mShutterTick = Lintwick::kGameDoneTick;
  screen->mShutterOffset = Lintwick::kShutterTravel;
  screen->mTransitionKind = Lintwick::kGameDone;
  const std::vector<std::uint8_t> lastTick = Bytes();
  Install(lastTick);
  Restart();
  EXPECT_EQ(std::pair(screen->SavedGameWasDamaged(), Bytes()), std::pair(false, lastTick));
  screen->Tick();
  EXPECT_EQ(std::pair(host.Count("HighScores"), screen->GetLevel()), std::pair(2, 0));
}

// A board covered whole: its transition, saved as late as the tick the level changes on and
// continued, still says the solve was perfect.
struct PerfectBoard : CodeScreen {
  PerfectBoard() : CodeScreen({"a#A", "..."}, {{0x01, 0x11, 0x21}}) {}
};

TEST_F(PerfectBoard, ATransitionResumedBeforeTheLevelChangesStaysPerfect) {
  Click(0, 0);
  for (auto [x, y] : {std::pair{0, 1}, {1, 1}, {2, 1}, {2, 0}}) Step(x, y);
  ASSERT_TRUE(screen->mShutterTick == 1 && screen->mPerfectSolve);
  while (screen->mShutterTick != Lintwick::kLevelChangeTick) screen->Tick();
  screen->SaveGame();
  Restart();
  EXPECT_EQ(std::pair(screen->mShutterTick, screen->mPerfectSolve), std::pair(Lintwick::kLevelChangeTick, true));
}

TEST_F(SavedGame, ADamagedFileGivesBackWhatIsSoundAndStaysUntilThePlayerPlaysOn) {
  PlayPartly();
  screen->mLevel = 7;
  screen->mScore = 1234;
  const std::vector<std::uint8_t> good = Bytes();  // link 0 block at 18, link 1 at 24
  ASSERT_EQ(good.size(), 18u + 14u + 7u);

  const auto load = [&](std::vector<std::uint8_t> bytes) {
    Install(bytes);
    screen->ContinueGame();
    EXPECT_EQ(BoardFault(*screen), "") << "file of " << bytes.size() << " bytes";
  };

  // Cut short at every byte: an empty file is no record at all; up to the
  // score nothing is a game; from there on level, score and hints survive, no
  // transition runs, and links only when their block is whole.
  EXPECT_FALSE(Lintwick::ReadSavedGame(Zing::Buffer()));
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    EXPECT_TRUE(Lintwick::ReadSavedGame(BufferOf({good.begin(), good.begin() + static_cast<long>(cut)}))) << cut;
    load({good.begin(), good.begin() + static_cast<long>(cut)});
    EXPECT_EQ(std::tuple(screen->SavedGameWasDamaged(), screen->GetLevel(), screen->GetScore(), screen->mShutterTick,
                         screen->mShutterOffset, screen->GetLink(0).completed),
              std::tuple(true, cut < 7 ? 0 : 7, cut < 7 ? 0 : 1234, 0, 0, cut >= 24))
        << cut;
  }

  // Every field against the values play can make, one change at a time: {what, the fields changed
  // (offset, value, bytes), what the game holds after continuing: level, hint bought, hints, score,
  // level points/shown, vortices left, transition tick/offset/kind, pieces of links 0 and 1 (+
  // joined)}. A value play cannot have made is left as the fresh level has it, and the game counts as damaged.
  struct Field {
    std::size_t at;
    int value, size;
  };
  struct Case {
    const char* what;
    std::vector<Field> fields;
    const char* holds;
  };
  const Case cases[] = {
      {"as saved", {}, "7 0 10 1234 500/0 13 0/0/0 4+ 3"},
      {"hint bought", {{1, 2, 1}, {2, 0, 1}}, "7 1 0 1234 500/0 13 0/0/0 4+ 3"},
      {"eleven hints", {{2, 11, 1}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"score below 0", {{3, -1, 4}}, "7 0 10 0 500/0 13 0/0/0 4+ 3 damaged"},
      {"level 100", {{0, 100, 1}}, "0 0 10 0 500/0 13 0/0/0 2 2 damaged"},
      {"points at the floor", {{7, 10, 2}}, "7 0 10 1234 10/0 13 0/0/0 4+ 3"},
      {"points below it", {{7, 9, 2}}, "7 0 10 1234 818/0 13 0/0/0 4+ 3 damaged"},
      {"the level's points", {{7, 818, 2}}, "7 0 10 1234 818/0 13 0/0/0 4+ 3"},
      {"more", {{7, 819, 2}}, "7 0 10 1234 818/0 13 0/0/0 4+ 3 damaged"},
      {"one vortex left", {{9, 1, 2}}, "7 0 10 1234 500/0 1 0/0/0 4+ 3"},
      {"none", {{9, 0, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"more than the level has", {{9, 14, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"none, replaying", {{9, 0, 2}, {11, 64, 2}, {13, 225, 2}, {15, 1, 1}}, "7 0 10 1234 500/0 0 64/225/1 4+ 3"},
      {"none, the replay begun", {{9, 0, 2}, {11, 1, 2}, {15, 1, 1}}, "7 0 10 1234 500/0 0 1/0/1 4+ 3"},
      {"none, replayed",
       {{9, 0, 2}, {11, 65, 2}, {13, 225, 2}, {15, 1, 1}},
       "7 0 10 1234 500/0 13 65/225/1 4+ 3 damaged"},
      {"the first tick", {{11, 1, 2}}, "7 0 10 1234 500/0 13 1/0/0 4+ 3"},
      {"closing", {{11, 40, 2}, {13, 135, 2}, {16, 818, 2}}, "7 0 10 1234 500/818 13 40/135/0 4+ 3"},
      {"an offset off its tick", {{11, 40, 2}, {13, 136, 2}}, "7 0 10 1234 500/0 13 40/135/0 4+ 3 damaged"},
      {"opening", {{11, 101, 2}, {13, 23, 2}}, "7 0 10 1234 500/0 13 101/23/0 4+ 3"},
      {"tick 102", {{11, 102, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"tick -1", {{11, -1, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"the first level after its change",
       {{0, 0, 1}, {11, 65, 2}, {13, 225, 2}},
       "0 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"a finished game", {{0, 99, 1}, {11, 82, 2}, {13, 225, 2}, {15, 2, 1}}, "99 0 10 1234 500/0 13 82/225/2 4+ 3"},
      {"a game done early", {{11, 82, 2}, {13, 225, 2}, {15, 2, 1}}, "7 0 10 1234 500/0 13 0/0/2 4+ 3 damaged"},
      {"a next level after the last", {{0, 99, 1}, {11, 10, 2}}, "99 0 10 1234 500/0 13 0/0/2 4+ 3 damaged"},
      {"kind 3", {{15, 3, 1}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"kind 3, running", {{11, 1, 2}, {15, 3, 1}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"the first level at its change", {{0, 0, 1}, {11, 64, 2}, {13, 225, 2}}, "0 0 10 1234 500/0 13 64/225/0 4+ 3"},
      {"kind 2, at rest", {{15, 2, 1}}, "7 0 10 1234 500/0 13 0/0/2 4+ 3"},
      {"5000 shown", {{16, 5000, 2}}, "7 0 10 1234 500/5000 13 0/0/0 4+ 3"},
      {"5001 shown", {{16, 5001, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"link 1 claims too many pieces", {{25, 200, 1}}, "7 0 10 1234 500/0 13 0/0/0 4+ 2 damaged"},
      {"a path code off the board", {{23, 0xA1, 1}}, "7 0 10 1234 500/0 13 0/0/0 3 3 damaged"},
      {"a path code on a hole", {{23, 0x04, 1}}, "7 0 10 1234 500/0 13 0/0/0 3 3 damaged"},
      {"a path code that jumps", {{23, 0x51, 1}}, "7 0 10 1234 500/0 13 0/0/0 3 3 damaged"},
      {"a node not the level's", {{20, 0x55, 1}}, "7 0 10 1234 500/0 13 0/0/0 2 3 damaged"},
      {"link 0 from its other node: a path that jumps",
       {{20, 0x11, 1}, {21, 0x41, 1}},
       "7 0 10 1234 500/0 13 0/0/0 2 3 damaged"},
      {"link 1 from its other node", {{26, 0x33, 1}, {27, 0x13, 1}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3"},
      {"link 0's target twice", {{21, 0x41, 1}}, "7 0 10 1234 500/0 13 0/0/0 2 3 damaged"},
      {"link 0's start twice, a path from the target",
       {{20, 0x11, 1}, {22, 0x31, 1}, {23, 0x21, 1}},
       "7 0 10 1234 500/0 13 0/0/0 2 3 damaged"},
      {"link 1 joined: its lost transition starts", {{24, 1, 1}}, "7 0 10 1234 500/500 13 1/0/0 4+ 3+"},
      {"link 1 joined, broken off after its target",
       {{24, 1, 1}, {25, 4, 1}, {39, 0, 1}},
       "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
      {"two bytes more: an eighth link's head", {{39, 0x0101, 2}}, "7 0 10 1234 500/0 13 0/0/0 4+ 3 damaged"},
  };
  // A link of the level saved without its nodes: link 1's count 0, its codes cut out.
  std::vector<std::uint8_t> noNodes = good;
  noNodes.erase(noNodes.begin() + 26, noNodes.begin() + 29);
  noNodes[25] = 0;
  load(noNodes);
  EXPECT_EQ(Holds(), "7 0 10 1234 500/0 13 0/0/0 4+ 2 damaged");
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    for (const Field& f : c.fields) {
      bytes.resize(std::max(bytes.size(), f.at + static_cast<std::size_t>(f.size)));
      for (int i = 0; i < f.size; ++i)
        bytes[f.at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(f.value >> (8 * i));
    }
    load(bytes);
    EXPECT_EQ(Holds(), c.holds) << c.what;
  }

  // The damaged file stays on the disk until the player plays on.
  const std::vector<std::uint8_t> damaged = host.Saved();
  screen->SaveGame();
  screen->SaveGame();
  EXPECT_EQ(std::pair(host.writes, host.Saved()), std::pair(0, damaged));
  Click(2, 3);  // link 1 drawn on
  Step(2, 2);
  screen->SaveGame();
  EXPECT_EQ(std::pair(host.writes, host.Saved()), std::pair(1, Bytes()));

  // A file that cannot be continued (a level beyond the last, or cut inside
  // the score) still gives a chosen level its hints and score as far as they
  // go, and the choice is playing on: the next save writes the chosen game.
  std::vector<std::uint8_t> beyond = good, cut(good.begin(), good.begin() + 5);
  beyond[0] = 200;
  beyond[2] = cut[2] = 6;
  for (const auto& bytes : {beyond, cut}) {
    Install(bytes);
    screen->StartAtLevel(3);
    EXPECT_EQ(std::tuple(screen->GetLevel(), screen->GetScore(), screen->GetHintsLeft()), std::tuple(3, 1234, 6))
        << bytes.size();
    screen->SaveGame();
    EXPECT_EQ(host.Saved(), Bytes());
  }
}

}  // namespace
