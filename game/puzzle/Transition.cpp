// Finishing a level and the shutter transition: the shutters close, the level
// pays its points and the next level (or the same one again) is built behind
// them, and they open again. After the hundredth level the final score goes to
// the high-score table.

#include "game/puzzle/Puzzle.h"

namespace Lintwick {

namespace {

inline constexpr int kCloseStartTick = 27;  // shutters start to move; closing from the next tick
inline constexpr int kClosedTick = 47;      // shutters meet
inline constexpr int kBlurTick = 62;
inline constexpr int kCloseTicks = 20;

}  // namespace

int ShutterOffsetAt(int tick, int current) {
  if (tick > kCloseStartTick && tick <= kClosedTick) return ((tick - kCloseStartTick) * kShutterTravel) / kCloseTicks;
  if (tick > kGameDoneTick) return kShutterTravel + ((kGameDoneTick - tick) * kShutterTravel) / kCloseTicks;
  return current;
}

void Puzzle::CheckLevelComplete() {
  for (const Link& link : mLinks) {
    if (link.Exists() && !link.completed) return;
  }
  mShutterTick = 1;
  mLevelPointsShown = mLevelPoints;
  mTransitionKind = mLevel < kLastLevel ? kNextLevel : kGameDone;
  mFinalScoreHandedOver = false;
}

void Puzzle::UpdateShutters() {
  if (mShutterTick == 0) return;
  const int tick = mShutterTick;
  mShutterOffset = ShutterOffsetAt(tick, mShutterOffset);

  if (tick == kLevelChangeTick && mTransitionKind == kNextLevel) {
    mScore += mLevelPoints;
    mLevel += 1;
    RestartLevel();
  } else if (tick == kLevelChangeTick && mTransitionKind == kReplayLevel) {
    mHost.AskRestartLevel();
    RestartLevel();
  }

  if (tick == kGameDoneTick && mTransitionKind == kGameDone) {
    // The game is over: the transition stands here until the shell stops it.
    // The final score is paid and handed over only once, however many ticks
    // pass before that.
    if (mFinalScoreHandedOver) return;
    mFinalScoreHandedOver = true;
    mScore += mLevelPoints;
    mLevel = 0;
    RestartLevel();
    mHost.ShowHighScores(mScore);
    return;
  }

  if (tick == kCloseStartTick || tick == kGameDoneTick) mHost.PlaySound(Sound::ShuttersMove);
  if (tick == kClosedTick) mHost.PlaySound(Sound::ShuttersBump);
  if (tick == kBlurTick && mTransitionKind != kReplayLevel) mHost.PlaySound(Sound::ShuttersBlur);

  if (++mShutterTick > kLastShutterTick) {
    mShutterTick = mShutterOffset = 0;
    if (mTransitionKind == kNextLevel) mHost.NextLevelShown();
  }
}

void Puzzle::NewGame() {
  mLevel = 0;
  mScore = 0;
  mShutterOffset = 0;
  mShutterTick = 0;
  mFinalScoreHandedOver = false;
  mBarBlink = mBarHighlight = 0;
  mHintsLeft = kHintsPerGame;
  RestartLevel();
  mHost.FreshGameStarted();
}

void Puzzle::StopTransition() {
  mShutterTick = 0;
  mShutterOffset = 0;
  mFinalScoreHandedOver = false;
}

bool Puzzle::IsGameCompleteTransition() const { return mShutterTick == kGameDoneTick && mTransitionKind == kGameDone; }

}  // namespace Lintwick
