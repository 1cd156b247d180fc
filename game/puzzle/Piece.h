#pragma once

namespace Lintwick {

// One occupied board cell: a node or a path piece of one link, with the
// state of its grow and shrink animation.
struct Piece {
  int link = 0;         // colour index 0..6
  bool isNode = false;  // one of the link's two nodes
  int cel = 0;          // cel drawn from the link image of its colour
  int x = 0;            // cell column
  int y = 0;            // cell row
  int slot = 0;         // slot in its link
  int frame = 0;        // grow/shrink frame; 0 means the link image is not drawn
  bool shrinking = false;
  int frameLimit = 0;        // frame at which growing stops
  bool highlighted = false;  // shown as selected for removal
  // When the piece was placed, counted over the puzzle's life: a solve is
  // played back in this order.
  int laid = 0;
};

// Cel of a finished link piece, which nodes have from the start.
inline constexpr int kFinishedCel = 21;
inline constexpr int kFinishedFrame = 22;
// Cel of a path piece of an open link once it has grown.
inline constexpr int kOpenCel = 10;
inline constexpr int kOpenFrame = 11;

}  // namespace Lintwick
