// The web page's frame measurement: draws the worst play-screen frame of the
// native benchmark (WorstFrameScene.h) inside the running page, so the two
// can be compared. Linked into the web build's program only.

#include <emscripten.h>

#include "bench/WorstFrameScene.h"

// Draws the frame `count` times (at least once) and answers the milliseconds
// per frame; the scene is built before and taken down after the timing.
extern "C" EMSCRIPTEN_KEEPALIVE double lintwick_bench_frame_ms(int count) {
  if (count < 1) count = 1;
  WorstFrameScene::WorstScreen worst;
  worst.DrawFrame();  // warms the caches and the images' own set-up
  const double start = emscripten_get_now();
  for (int i = 0; i < count; ++i) worst.DrawFrame();
  return (emscripten_get_now() - start) / count;
}
