#include "framework/platform/ImageCursor.h"

#include <algorithm>
#include <cstddef>

namespace Zing::Platform {

namespace {

// Larger images are no cursors; desktops refuse them or slow down.
constexpr int kMaxCursorSide = 256;

}  // namespace

ImageCursor::~ImageCursor() {
  if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
}

bool ImageCursor::Matches(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) const {
  return cursor_ != nullptr && width == width_ && height == height_ && hotX == hotX_ && hotY == hotY_ &&
         std::equal(pixels_.begin(), pixels_.end(), pixels);
}

bool ImageCursor::Show(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) {
  if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxCursorSide || height > kMaxCursorSide) {
    return false;
  }
  // A hot spot outside the image would be refused; keep it on the image.
  hotX = std::clamp(hotX, 0, width - 1);
  hotY = std::clamp(hotY, 0, height - 1);
  if (!Matches(pixels, width, height, hotX, hotY)) {
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint32_t> copy(pixels, pixels + count);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(copy.data(), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return false;
    SDL_Cursor* made = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    if (made == nullptr) return false;
    // Select the new cursor before the old one goes, so the pointer never
    // falls back to the default shape in between.
    SDL_SetCursor(made);
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    cursor_ = made;
    pixels_ = std::move(copy);
    width_ = width;
    height_ = height;
    hotX_ = hotX;
    hotY_ = hotY;
  } else {
    SDL_SetCursor(cursor_);
  }
  SDL_ShowCursor(SDL_ENABLE);
  return true;
}

}  // namespace Zing::Platform
