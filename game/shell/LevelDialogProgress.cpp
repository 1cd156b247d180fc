// The level chooser's view of the player's progress: the tick and the star
// on the miniature, the count of perfect boards, and the best solve of the
// shown board played back on the miniature at the rolling cube's pace,
// started by the Watch button or a click on the miniature.

#include <algorithm>
#include <cstdlib>

#include "framework/graphics/Graphics.h"
#include "framework/widget/DialogButton.h"
#include "game/puzzle/Puzzle.h"
#include "game/shell/AppManager.h"
#include "game/shell/LevelDialog.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

using namespace ChooserLayout;

namespace {

// Cels of the marks image, and where they sit: on the miniature's top right
// corner, the star just below the tick.
constexpr int kTickCel = 0;
constexpr int kStarCel = 1;
constexpr int kMarkX = kMiniCentreX + kMiniHalf;
constexpr int kTickY = kMiniCentreY - kMiniHalf;
constexpr int kStarY = kTickY + 24;

// Rows of the stick image: joining cells side by side, or one above the other.
constexpr int kStickAcross = 0;
constexpr int kStickDown = 1;

// The Watch caption while there is nothing to watch.
constexpr Zing::Color kDimText(0x6E, 0x8C, 0x90);

bool Neighbours(int a, int b) {
  const int dx = std::abs(CellCodeX(a) - CellCodeX(b));
  const int dy = std::abs(CellCodeY(a) - CellCodeY(b));
  return dx + dy == 1;
}

void DrawStick(Zing::Graphics* g, int link, int a, int b) {
  if (!Neighbours(a, b)) return;
  const int x = (MiniX(CellCodeX(a)) + MiniX(CellCodeX(b))) / 2;
  const int y = (MiniY(CellCodeY(a)) + MiniY(CellCodeY(b))) / 2;
  DrawChooserCel(g, IMAGE_REPLAY_STICKS, x, y, link, CellCodeY(a) == CellCodeY(b) ? kStickAcross : kStickDown);
}

}  // namespace

void DrawChooserCel(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int cel, int row) {
  if (image) g->DrawImageCel(image, cx - image->GetCelWidth() / 2, cy - image->GetCelHeight() / 2, cel, row);
}

bool LevelDialog::CanWatch() const {
  const LevelProgress& level = mApp->GetProgress().levels[static_cast<std::size_t>(mChosenLevel)];
  return level.solved && !IsLocked();
}

std::string LevelDialog::PerfectLabel() const {
  return FormatText(TEXT_PERFECT_COUNT, mApp->GetProgress().PerfectCount());
}

void LevelDialog::StartWatching() {
  if (!CanWatch()) return;
  mPlayback.Start(mChosenLevel, mApp->GetProgress().levels[static_cast<std::size_t>(mChosenLevel)].solve);
  MarkDirty();
}

// Another board stops the playback; the button answers only where there is
// a solve to watch.
void LevelDialog::RefreshWatchButton() {
  if (mPlayback.IsPlaying() && mPlayback.Level() != mChosenLevel) mPlayback.Stop();
  const bool can = CanWatch();
  mWatchButton->SetDisabled(!can);
  mWatchButton->SetColor(Zing::ButtonWidget::COLOR_LABEL, can ? kTextColor : kDimText);
}

void LevelDialog::Update() {
  Dialog::Update();
  if (mPlayback.Update()) MarkDirty();
}

void LevelDialog::MouseDown(int px, int py, int button, int clickCount) {
  const bool onMiniature =
      std::abs(px - kMiniCentreX) <= kMiniHalf && std::abs(py - kMiniCentreY) <= kMiniHalf && clickCount > 0;
  if (onMiniature && CanWatch()) {
    StartWatching();
    return;
  }
  Dialog::MouseDown(px, py, button, clickCount);
}

void LevelDialog::DrawMarks(Zing::Graphics* g) const {
  const LevelProgress& level = mApp->GetProgress().levels[static_cast<std::size_t>(mChosenLevel)];
  if (level.solved) DrawChooserCel(g, IMAGE_REPLAY_MARKS, kMarkX, kTickY, kTickCel);
  if (level.perfect) DrawChooserCel(g, IMAGE_REPLAY_MARKS, kMarkX, kStarY, kStarCel);
}

// The pieces shown so far, joined by sticks along each link's path: from the
// node beside its first piece, piece to piece, and into the other node once
// the link's last piece is down. A link whose nodes touch is joined once the
// whole solve is shown.
void LevelDialog::DrawPlayback(Zing::Graphics* g, const std::vector<std::uint8_t>& nodes) const {
  if (!mPlayback.IsPlaying() || mPlayback.Level() != mChosenLevel) return;
  const std::vector<LaidPiece>& pieces = mPlayback.Pieces();
  const int shown = std::min<int>(mPlayback.Shown(), static_cast<int>(pieces.size()));
  const int nodeCount = std::min<int>(nodes[0], std::min(kNodeRecordSize - 1, kMaxNodeCodes)) & ~1;
  for (int link = 0; link < nodeCount / 2; ++link) {
    const int first = nodes[static_cast<std::size_t>(1 + 2 * link)];
    const int second = nodes[static_cast<std::size_t>(2 + 2 * link)];
    int from = -1;
    int start = -1;
    bool finished = true;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i].link != link) continue;
      if (static_cast<int>(i) >= shown) {
        finished = false;
        break;
      }
      const int code = pieces[i].code;
      if (from < 0) start = Neighbours(code, second) ? second : first;
      DrawStick(g, link, from < 0 ? start : from, code);
      from = code;
    }
    if (!finished) continue;
    if (from >= 0) DrawStick(g, link, from, start == first ? second : first);
    if (from < 0 && mPlayback.Finished()) DrawStick(g, link, first, second);
  }
  for (int i = 0; i < shown; ++i) {
    const LaidPiece& piece = pieces[static_cast<std::size_t>(i)];
    DrawChooserCel(g, IMAGE_REPLAY_LINKS, MiniX(CellCodeX(piece.code)), MiniY(CellCodeY(piece.code)), piece.link);
  }
}

}  // namespace Lintwick
