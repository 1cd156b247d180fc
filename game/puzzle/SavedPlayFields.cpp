// The saved level state and transition, kept only where play could have
// produced them on the level they are put back on: level points between the
// floor and what the level pays, a vortex allowance the level has, and a
// transition that can run on from its tick without leaving the hundred
// levels. A value outside that is replaced by what the fresh level has.

#include "game/puzzle/GameScreen.h"
#include "game/puzzle/SavedGameRecord.h"

namespace Lintwick {

namespace {

// A transition saved at `tick` has run every tick before it. The shutters'
// offset follows from the ticks alone, so it is recomputed, not trusted.
int OffsetBefore(int tick) {
  int offset = 0;
  for (int t = 1; t < tick; ++t) offset = ShutterOffsetAt(t, offset);
  return offset;
}

// Whether a transition of this kind can go on from this tick at this level.
// The level moves on at its level-change tick, so the saved level is the old
// one up to that tick and the new one after it; a finished game is saved
// without its transition once the final score has been handed over.
bool TransitionFits(int level, int tick, int kind) {
  if (tick < 1 || tick > kLastShutterTick) return false;
  switch (kind) {
    case kNextLevel:
      return tick <= kLevelChangeTick ? level < kLastLevel : level > 0;
    case kReplayLevel:
      return true;
    case kGameDone:
      // Up to the tick that hands the final score over: a game saved between
      // reaching that tick and running it pays and hands it over on loading.
      return level == kLastLevel && tick <= kGameDoneTick;
    default:
      return false;
  }
}

}  // namespace

bool GameScreen::RestoreTransition(const SavedGameRecord& record) {
  mShutterTick = mShutterOffset = 0;
  if (record.shutterTick == 0) {
    mTransitionKind = (record.transitionKind >= kNextLevel && record.transitionKind <= kGameDone)
                          ? record.transitionKind
                          : kNextLevel;
    return mTransitionKind == record.transitionKind;
  }
  if (!TransitionFits(mLevel, record.shutterTick, record.transitionKind)) return false;
  mShutterTick = record.shutterTick;
  mTransitionKind = record.transitionKind;
  mShutterOffset = OffsetBefore(mShutterTick);
  return mShutterOffset == record.shutterOffset;
}

bool GameScreen::RestoreLevelScore(const SavedGameRecord& record) {
  bool sound = true;
  if (record.levelPoints >= kFloorLevelPoints && record.levelPoints <= FreshLevelPoints(mLevel)) {
    mLevelPoints = record.levelPoints;
  } else {
    sound = false;
  }
  // The allowance runs out only together with the start of a replay, which
  // gives it back whole at the level change.
  const bool replaying = mShutterTick >= 1 && mShutterTick <= kLevelChangeTick && mTransitionKind == kReplayLevel;
  if (record.vortexesLeft >= (replaying ? 0 : 1) && record.vortexesLeft <= GetVortexAllowance()) {
    mVortexesLeft = record.vortexesLeft;
  } else {
    sound = false;
  }
  if (record.levelPointsShown >= 0 && record.levelPointsShown <= FreshLevelPoints(kLastLevel)) {
    mLevelPointsShown = record.levelPointsShown;
  } else {
    mLevelPointsShown = 0;
    sound = false;
  }
  return sound;
}

}  // namespace Lintwick
