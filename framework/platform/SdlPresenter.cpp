// Presentation. The window-memory path relies on SDL writing the window's
// pixels with the desktop's own means (shared memory on X11): the hint that
// would otherwise let SDL back that memory with an accelerated renderer is
// switched off where the platform starts SDL.

#include "framework/platform/SdlPresenter.h"

#include <cstring>

namespace Zing::Platform {

namespace {

// The picture's own pixel layout: 32 bits, 0x..RRGGBB.
bool LaidOutLikeThePicture(const SDL_PixelFormat& format) {
  return format.BytesPerPixel == 4 && format.Rmask == 0x00FF0000 && format.Gmask == 0x0000FF00 &&
         format.Bmask == 0x000000FF;
}

}  // namespace

const AccelerationProbeResult& SdlPresenter::Probe() {
  if (probe) return *probe;
  // SDL's dummy driver has no accelerated renderer to test.
  const char* driver = SDL_GetCurrentVideoDriver();
  probe = driver != nullptr && std::strcmp(driver, "dummy") == 0 ? AccelerationProbeResult() : ProbeAcceleration();
  return *probe;
}

bool SdlPresenter::TestAcceleration() { return Probe().works; }

DisplayResult SdlPresenter::Init(SDL_Window* target, int width, int height, bool accelerated, std::string& error) {
  Release();
  window = target;
  logicalWidth = width;
  logicalHeight = height;
  if (window == nullptr) {
    error = "no window";
    return DisplayResult::Failed;
  }
  if (!accelerated) return InitWindowMemory(false, error);
  const AccelerationProbeResult& test = Probe();
  if (!test.works) {
    error = "no accelerated renderer works here";
    return DisplayResult::HardwareAccelerationFailed;
  }
  // A rasteriser on the processor is slower than our own scaling and costs
  // tens of megabytes of driver code.
  if (test.softwareRasteriser) return InitWindowMemory(true, error);
  return InitRenderer(SDL_RENDERER_ACCELERATED, DisplayResult::HardwareAccelerationFailed, error);
}

DisplayResult SdlPresenter::InitRenderer(Uint32 flags, DisplayResult failure, std::string& error) {
  renderer = SDL_CreateRenderer(window, -1, flags);
  if (renderer == nullptr) {
    error = SDL_GetError();
    return failure;
  }
  texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, logicalWidth, logicalHeight);
  if (texture == nullptr) {
    error = SDL_GetError();
    return failure;
  }
  // Crisp pixels: every game pixel becomes a square of screen pixels.
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
  UpdateLayout();
  return DisplayResult::Ok;
}

DisplayResult SdlPresenter::InitWindowMemory(bool accelerated, std::string& error) {
  if (SDL_GetWindowSurface(window) == nullptr) {
    // A desktop whose windows have no pixel memory of their own: any
    // renderer SDL has is better than no picture.
    const DisplayResult failure = accelerated ? DisplayResult::HardwareAccelerationFailed : DisplayResult::Failed;
    if (InitRenderer(SDL_RENDERER_ACCELERATED, failure, error) == DisplayResult::Ok) return DisplayResult::Ok;
    Release();
    return InitRenderer(SDL_RENDERER_SOFTWARE, failure, error);
  }
  toWindowMemory = true;
  everything = true;
  UpdateLayout();
  return DisplayResult::Ok;
}

void SdlPresenter::Release() {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  texture = nullptr;
  renderer = nullptr;
  toWindowMemory = false;
  lastSurface = nullptr;
  everything = true;
  staging = {};
}

void SdlPresenter::UpdateLayout() {
  int outputWidth = 0;
  int outputHeight = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  if (toWindowMemory) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return;
    outputWidth = surface->w;
    outputHeight = surface->h;
  } else if (renderer == nullptr || SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0) {
    return;
  }
  SDL_GetWindowSize(window, &windowWidth, &windowHeight);
  layout.Update(logicalWidth, logicalHeight, outputWidth, outputHeight, windowWidth, windowHeight);
}

bool SdlPresenter::Present(const std::uint32_t* pixels, int width, int height) {
  if (window == nullptr || width != logicalWidth || height != logicalHeight) return false;
  if (toWindowMemory) return PresentToWindowMemory(pixels);
  return PresentWithRenderer(pixels, width);
}

bool SdlPresenter::PresentWithRenderer(const std::uint32_t* pixels, int width) {
  if (renderer == nullptr || texture == nullptr) return false;
  if (SDL_UpdateTexture(texture, nullptr, pixels, width * 4) != 0) return false;
  UpdateLayout();
  const ScreenRect& picture = layout.Picture();
  const SDL_Rect target{picture.x, picture.y, picture.w, picture.h};
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  if (SDL_RenderClear(renderer) != 0 || SDL_RenderCopy(renderer, texture, nullptr, &target) != 0) return false;
  SDL_RenderPresent(renderer);
  return true;
}

PixelTarget SdlPresenter::TargetFor(SDL_Surface& surface) {
  staged = !LaidOutLikeThePicture(*surface.format);
  if (!staged) return {static_cast<std::uint32_t*>(surface.pixels), surface.pitch / 4, surface.w, surface.h};
  const std::size_t size = static_cast<std::size_t>(surface.w) * static_cast<std::size_t>(surface.h);
  if (staging.size() != size) {
    staging.assign(size, 0);
    everything = true;
  }
  return {staging.data(), surface.w, surface.w, surface.h};
}

// The staged rows in the surface's own format.
bool SdlPresenter::CopyStaged(SDL_Surface& surface) {
  for (const RowBand& band : written) {
    const std::uint32_t* from = staging.data() + static_cast<std::size_t>(band.y) * surface.w;
    auto* to = static_cast<std::uint8_t*>(surface.pixels) + static_cast<std::ptrdiff_t>(band.y) * surface.pitch;
    if (SDL_ConvertPixels(surface.w, band.h, SDL_PIXELFORMAT_ARGB8888, from, surface.w * 4, surface.format->format, to,
                          surface.pitch) != 0)
      return false;
  }
  return true;
}

bool SdlPresenter::PresentToWindowMemory(const std::uint32_t* pixels) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return false;
  if (surface != lastSurface || surface->w != lastSurfaceWidth || surface->h != lastSurfaceHeight) {
    // A new surface (the window changed size or mode) holds nothing of ours.
    lastSurface = surface;
    lastSurfaceWidth = surface->w;
    lastSurfaceHeight = surface->h;
    everything = true;
  }
  UpdateLayout();
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  const PixelTarget target = TargetFor(*surface);
  written.clear();
  PutPicture(pixels, logicalWidth, logicalHeight, target, layout.Picture(), everything, written);
  const bool copied = !staged || CopyStaged(*surface);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (!copied) return false;
  everything = false;
  if (written.empty()) return true;
  rects.clear();
  // Changed rows lie inside the picture; a whole new surface is pushed whole.
  const ScreenRect& picture = layout.Picture();
  for (const RowBand& band : written) {
    if (band.h == surface->h)
      rects.push_back({0, 0, surface->w, surface->h});
    else
      rects.push_back({picture.x, band.y, picture.w, band.h});
  }
  return SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size())) == 0;
}

}  // namespace Zing::Platform
