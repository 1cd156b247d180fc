#pragma once

// The game's sound effects, each rendered as a mono sound that starts and ends
// on silence and peaks a little below full scale.

#include "tools/soundgen/Dsp.h"

namespace SoundGen {

Pcm RenderGuiClick();      // a soft, short interface tick
Pcm RenderCubeClick();     // picking up or confirming on a piece: a small marimba pop
Pcm RenderCubeTap();       // the cube landing on a cell: short, soft and woody
Pcm RenderCubeBump();      // a link completed: a small bright rising chime
Pcm RenderCubeDrop();      // the cube settling on an open link: a dull little drop
Pcm RenderVortex();        // a piece swallowed: a short descending swirl
Pcm RenderStarSmall();     // a tiny high sparkle
Pcm RenderStarBig();       // a slightly fuller sparkle
Pcm RenderShuttersMove();  // the shutters sliding
Pcm RenderShuttersBump();  // the shutters meeting: a soft thud
Pcm RenderShuttersBlur();  // a shimmer while the level changes

}  // namespace SoundGen
