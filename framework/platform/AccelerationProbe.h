#pragma once

// The hardware test of the display: an accelerated renderer made and one
// frame presented, in a child process of this very program. The graphics
// driver it loads (a GL library, and with a software rasteriser a whole
// compiler) stays in the child and goes with it, so a game that then runs
// without acceleration never maps any of it.

#include <string>

namespace Zing::Platform {

struct AccelerationProbeResult {
  bool works = false;               // an accelerated renderer presented a frame
  bool softwareRasteriser = false;  // ... but drawn by the processor after all
  std::string renderer;             // the driver's name of its renderer
};

// Runs the test in a child process; waits for it at most kProbeSeconds.
AccelerationProbeResult ProbeAcceleration();

// Whether a GL renderer's name is one of the rasterisers that draw with the
// processor (llvmpipe, softpipe, swrast).
bool IsSoftwareRasteriser(const std::string& renderer);

}  // namespace Zing::Platform
