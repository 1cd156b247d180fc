// Whole-number scaling of the picture. The window's scale is chosen so that
// the whole window, frame included, stays inside the work area; in full
// screen the picture takes the largest whole-number scale the screen holds.
// The pointer's way back is one exact fraction, rounded down, so that each
// screen pixel belongs to exactly one picture pixel at every scale.

#include "framework/platform/Scaling.h"

#include <algorithm>
#include <cstdint>

namespace Zing::Platform {

namespace {

// Division rounded towards minus infinity: a position one screen pixel left
// of the picture is picture column -1, not 0.
std::int64_t FloorDivide(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t quotient = numerator / denominator;
  return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1 : quotient;
}

bool WindowFits(const ScreenRect& workArea, int width, int height, int scale) {
  return width * scale <= workArea.w && height * scale + kWindowFrameHeight <= workArea.h;
}

}  // namespace

int ChooseWindowScale(const ScreenRect& workArea, int width, int height, int requested) {
  if (width <= 0 || height <= 0) return 1;
  int fitting = 1;
  while (fitting < kMaxAutoWindowScale && WindowFits(workArea, width, height, fitting + 1)) ++fitting;
  if (requested >= 1 && requested <= kMaxFixedWindowScale) return std::min(requested, fitting);
  return fitting;
}

ScreenRect FitPicture(int outputWidth, int outputHeight, int width, int height) {
  if (width <= 0 || height <= 0 || outputWidth <= 0 || outputHeight <= 0) return {0, 0, width, height};
  const int scale = std::min(outputWidth / width, outputHeight / height);
  int w = width * scale;
  int h = height * scale;
  if (scale < 1) {
    // Narrower than the picture's shape: full width; otherwise full height.
    if (static_cast<std::int64_t>(outputWidth) * height <= static_cast<std::int64_t>(outputHeight) * width) {
      w = outputWidth;
      h = std::max(1, static_cast<int>(static_cast<std::int64_t>(outputWidth) * height / width));
    } else {
      h = outputHeight;
      w = std::max(1, static_cast<int>(static_cast<std::int64_t>(outputHeight) * width / height));
    }
  }
  return {(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
}

void PictureLayout::Update(int width, int height, int outputWidth, int outputHeight, int windowWidth,
                           int windowHeight) {
  pictureWidth = std::max(1, width);
  pictureHeight = std::max(1, height);
  outputW = outputWidth > 0 ? outputWidth : pictureWidth;
  outputH = outputHeight > 0 ? outputHeight : pictureHeight;
  windowW = windowWidth > 0 ? windowWidth : outputW;
  windowH = windowHeight > 0 ? windowHeight : outputH;
  picture = FitPicture(outputW, outputH, pictureWidth, pictureHeight);
}

void PictureLayout::WindowToPicture(int windowX, int windowY, int& x, int& y) const {
  // Window point -> output pixel (times outputW / windowW), less the bar,
  // -> picture pixel (times pictureWidth / picture.w), in one fraction.
  const std::int64_t nx =
      (static_cast<std::int64_t>(windowX) * outputW - static_cast<std::int64_t>(picture.x) * windowW) * pictureWidth;
  const std::int64_t ny =
      (static_cast<std::int64_t>(windowY) * outputH - static_cast<std::int64_t>(picture.y) * windowH) * pictureHeight;
  x = static_cast<int>(FloorDivide(nx, static_cast<std::int64_t>(picture.w) * windowW));
  y = static_cast<int>(FloorDivide(ny, static_cast<std::int64_t>(picture.h) * windowH));
}

}  // namespace Zing::Platform
