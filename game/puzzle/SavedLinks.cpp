// The saved pieces of each link, put back on the freshly built level only as
// far as they make a board that play could have made: the two nodes are the
// level's own, every path piece lies on a free cell of the board next to the
// piece before it, and a link counts as joined only when its path ends next
// to its target node. A link whose nodes do not match keeps the fresh level's
// nodes alone; a path that breaks off is kept up to the break, open.

#include <cstdlib>

#include "game/puzzle/GameScreen.h"
#include "game/puzzle/SavedGameRecord.h"

namespace Lintwick {

namespace {

inline constexpr int kFirstPathSlot = 2;

int CodeOf(const Piece& piece) { return CellCode(piece.x, piece.y); }

bool Touch(int ax, int ay, int bx, int by) { return std::abs(ax - bx) + std::abs(ay - by) == 1; }

// A restored path piece shows the look it grows to, without growing.
void GiveRestingLook(const Link& link) {
  for (int slot = kFirstPathSlot; slot < link.count; ++slot) {
    Piece* piece = link.At(slot);
    if (!piece) continue;
    piece->cel = link.completed ? kFinishedCel : kOpenCel;
    piece->frame = piece->frameLimit = link.completed ? kFinishedFrame : kOpenFrame;
  }
}

}  // namespace

bool GameScreen::RestoreLinks(const std::vector<SavedLink>& links) {
  bool sound = links.size() == kMaxLinks;
  for (std::size_t link = 0; link < links.size() && link < kMaxLinks; ++link) {
    sound = RestoreLink(static_cast<int>(link), links[link]) && sound;
  }
  return sound;
}

bool GameScreen::RestoreLink(int link, const SavedLink& saved) {
  const Link& target = GetLink(link);
  if (!target.Exists()) return saved.codes.empty();
  if (saved.codes.size() < 2) return false;
  const int first = CodeOf(*target.At(0));
  const int second = CodeOf(*target.At(1));
  const bool same = saved.codes[0] == first && saved.codes[1] == second;
  const bool swapped = saved.codes[0] == second && saved.codes[1] == first;
  if (!same && !swapped) return false;
  if (swapped) MakeStart(*target.At(0));

  bool sound = true;
  for (std::size_t j = kFirstPathSlot; j < saved.codes.size() && sound; ++j) sound = ExtendPath(link, saved.codes[j]);

  const Piece& head = *target.Head();
  const Piece& goal = *target.At(0);
  const bool joined = sound && Touch(head.x, head.y, goal.x, goal.y);
  LinkAt(link).completed = saved.completed && joined;
  if (saved.completed && !joined) sound = false;
  GiveRestingLook(target);
  return sound;
}

bool GameScreen::ExtendPath(int link, int code) {
  const int cx = CellCodeX(code);
  const int cy = CellCodeY(code);
  const Piece& head = *GetLink(link).Head();
  if (!IsPresent(cx, cy) || Cell(cx, cy).piece != nullptr || !Touch(cx, cy, head.x, head.y)) return false;
  return AddPiece(link, cx, cy, false) != nullptr;
}

}  // namespace Lintwick
