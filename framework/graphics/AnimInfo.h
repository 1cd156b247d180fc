#pragma once

// How an image with several cels animates: filled by the resource manager from
// the manifest and carried by the image for whoever draws it.

#include <vector>

namespace Zing {

struct AnimInfo {
  enum Type { kNone = 0, kOnce = 1, kPingPong = 2, kLoop = 3 };

  int type = kNone;
  int frameDelay = 1;  // updates per cel
  int numCels = 1;
  std::vector<int> perFrameDelay;
  std::vector<int> frameMap;  // cel index per frame; empty means cel = frame
  int totalAnimTime = 0;
};

}  // namespace Zing
