#pragma once

// Puts the 640 x 480 screen image into the SDL window, crisp at a
// whole-number scale, in one of two ways: with acceleration, through an
// accelerated renderer and a streaming texture; without it, or when the
// accelerated renderer would only be a rasteriser running on the processor,
// straight into the window's own pixel memory (SurfacePicture), so that no
// graphics driver is loaded at all. Both place the picture and map the
// pointer back through the same PictureLayout.

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/platform/AccelerationProbe.h"
#include "framework/platform/Platform.h"
#include "framework/platform/Scaling.h"
#include "framework/platform/SurfacePicture.h"

namespace Zing::Platform {

class SdlPresenter {
 public:
  SdlPresenter() = default;
  SdlPresenter(const SdlPresenter&) = delete;
  SdlPresenter& operator=(const SdlPresenter&) = delete;
  ~SdlPresenter() { Release(); }

  // Brings presentation up in `window` for a width x height picture.
  DisplayResult Init(SDL_Window* window, int width, int height, bool accelerated, std::string& error);
  // Lets go of the renderer; called before the window goes.
  void Release();
  bool Present(const std::uint32_t* pixels, int width, int height);
  // The window lost what it showed (it was covered, or resized): the next
  // present writes all of it.
  void Invalidate() { everything = true; }
  // The hardware test, run once per process in a child process.
  bool TestAcceleration();

  // Refreshes where the picture lies in the window; the caller's display
  // lock guards it against the cursor thread, which maps the pointer with it.
  void UpdateLayout();
  const PictureLayout& Layout() const { return layout; }
  bool PresentsToWindowMemory() const { return toWindowMemory; }

 private:
  const AccelerationProbeResult& Probe();
  DisplayResult InitRenderer(Uint32 flags, DisplayResult failure, std::string& error);
  DisplayResult InitWindowMemory(bool accelerated, std::string& error);
  bool PresentWithRenderer(const std::uint32_t* pixels, int width);
  bool PresentToWindowMemory(const std::uint32_t* pixels);
  // Where the picture's pixels go in `surface`: the surface itself when its
  // pixels are laid out like the picture's, else a staging copy.
  PixelTarget TargetFor(SDL_Surface& surface);
  bool CopyStaged(SDL_Surface& surface);

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool toWindowMemory = false;
  SDL_Surface* lastSurface = nullptr;
  int lastSurfaceWidth = 0;
  int lastSurfaceHeight = 0;
  bool everything = true;
  bool staged = false;
  std::vector<std::uint32_t> staging;
  std::vector<RowBand> written;
  std::vector<SDL_Rect> rects;
  int logicalWidth = 640;
  int logicalHeight = 480;
  PictureLayout layout;
  std::optional<AccelerationProbeResult> probe;
};

}  // namespace Zing::Platform
