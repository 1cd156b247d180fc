// Presenting without a graphics driver: the picture written into the
// window's own pixel memory at whole-number scales 1 to 3, full screen with
// black bars, the pointer's way back to picture pixels, and a frame that
// changes a few rows rewriting only those. Runs on SDL's dummy video driver,
// whose window memory is plain memory the test can read.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "framework/platform/AccelerationProbe.h"
#include "framework/platform/Platform.h"
#include "framework/platform/SurfacePicture.h"

namespace {

using namespace Zing::Platform;

constexpr int kW = 640;
constexpr int kH = 480;

// A picture in which every pixel differs from its neighbours.
std::vector<std::uint32_t> Pattern(std::uint32_t seed) {
  std::vector<std::uint32_t> pixels(kW * kH);
  for (int i = 0; i < kW * kH; ++i)
    pixels[i] = 0xFF000000u | ((static_cast<std::uint32_t>(i) * 2654435761u + seed) >> 8);
  return pixels;
}

// The newest window: the one the services made.
SDL_Window* NewestWindow() {
  SDL_Window* newest = nullptr;
  for (Uint32 id = 1; id < 4096; ++id)
    if (SDL_Window* window = SDL_GetWindowFromID(id)) newest = window;
  return newest;
}

std::uint32_t Shown(SDL_Surface* surface, int x, int y) {
  return static_cast<const std::uint32_t*>(surface->pixels)[static_cast<std::ptrdiff_t>(y) * surface->pitch / 4 + x] |
         0xFF000000u;
}

// Whether the window shows `picture` at `scale` from (left, top), black around it.
testing::AssertionResult ShowsPicture(const std::vector<std::uint32_t>& picture, int left, int top, int scale) {
  SDL_Surface* surface = SDL_GetWindowSurface(NewestWindow());
  if (!surface) return testing::AssertionFailure() << "no window memory";
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      const int px = x - left, py = y - top;
      const bool inside = px >= 0 && py >= 0 && px < kW * scale && py < kH * scale;
      const std::uint32_t want = inside ? picture[(py / scale) * kW + px / scale] : 0xFF000000u;
      if (Shown(surface, x, y) != want)
        return testing::AssertionFailure()
               << "pixel " << x << "," << y << " shows " << std::hex << Shown(surface, x, y) << " instead of " << want;
    }
  }
  return testing::AssertionSuccess();
}

// The picture pixel a pointer event at window position (x, y) reaches.
std::pair<int, int> PointerAt(Services& services, int x, int y) {
  WindowMessage message;
  while (services.PollMessage(message)) {
  }
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = SDL_GetWindowID(NewestWindow());
  motion.motion.x = x;
  motion.motion.y = y;
  SDL_PushEvent(&motion);
  while (services.PollMessage(message))
    if (message.code == MessageCode::MouseMove) return {message.x, message.y};
  return {-999, -999};
}

bool MapsGraphicsDriver() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    for (const char* name : {"libGL", "libEGL", "libLLVM", "_dri.so", "libvulkan"})
      if (line.find(name) != std::string::npos) return true;
  return false;
}

TEST(WindowPresent, WholeNumberScalesLetterboxAndPointer) {
  auto services = CreateSdlServices();
  const std::vector<std::uint32_t> picture = Pattern(7);
  std::string error;
  for (int scale = 1; scale <= 3; ++scale) {
    SCOPED_TRACE(scale);
    WindowSpec window;
    window.scale = scale;
    ASSERT_TRUE(services->CreateMainWindow(window));
    ASSERT_EQ(services->InitDisplay(false, error), DisplayResult::Ok) << error;
    ASSERT_TRUE(services->Present(picture.data(), kW, kH));
    EXPECT_TRUE(ShowsPicture(picture, 0, 0, scale));
    EXPECT_EQ(PointerAt(*services, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(PointerAt(*services, scale - 1, scale), std::make_pair(0, 1));
    EXPECT_EQ(PointerAt(*services, kW * scale - 1, kH * scale - 1), std::make_pair(kW - 1, kH - 1));
  }
  // Full screen on the dummy's 1024 x 768 desktop: scale 1, centred.
  WindowSpec full;
  full.windowed = false;
  ASSERT_TRUE(services->CreateMainWindow(full));
  ASSERT_EQ(services->InitDisplay(false, error), DisplayResult::Ok) << error;
  ASSERT_TRUE(services->Present(picture.data(), kW, kH));
  SDL_Surface* surface = SDL_GetWindowSurface(NewestWindow());
  ASSERT_NE(surface, nullptr);
  const int left = (surface->w - kW) / 2, top = (surface->h - kH) / 2;
  ASSERT_GT(left + top, 0) << "the desktop leaves no bars";
  EXPECT_TRUE(ShowsPicture(picture, left, top, 1));
  EXPECT_EQ(PointerAt(*services, left, top), std::make_pair(0, 0));
  EXPECT_EQ(PointerAt(*services, left - 1, top - 1), std::make_pair(-1, -1));
  EXPECT_EQ(PointerAt(*services, left + kW, top + kH - 1), std::make_pair(kW, kH - 1));
  services->DestroyMainWindow();
  EXPECT_FALSE(MapsGraphicsDriver());
}

// Rows of the picture that did not change are not written again: marks put
// into the window's memory there survive the next frame, while the changed
// rows show their new pixels and are the only ones reported.
TEST(WindowPresent, OnlyChangedRowsAreWritten) {
  auto services = CreateSdlServices();
  WindowSpec window;
  window.scale = 2;
  std::string error;
  ASSERT_TRUE(services->CreateMainWindow(window));
  ASSERT_EQ(services->InitDisplay(false, error), DisplayResult::Ok) << error;
  std::vector<std::uint32_t> picture = Pattern(1);
  ASSERT_TRUE(services->Present(picture.data(), kW, kH));
  SDL_Surface* surface = SDL_GetWindowSurface(NewestWindow());
  auto* memory = static_cast<std::uint32_t*>(surface->pixels);
  const int pitch = surface->pitch / 4;
  constexpr std::uint32_t kMark = 0x00123456;
  // The second screen row of every picture row is never read back.
  for (int y = 0; y < kH; ++y) memory[(2 * y + 1) * pitch + 5] = kMark;
  for (int y = 100; y <= 102; ++y) picture[y * kW + 320] ^= 0x00FFFFFF;
  ASSERT_TRUE(services->Present(picture.data(), kW, kH));
  for (int y = 0; y < kH; ++y) {
    const bool changed = y >= 100 && y <= 102;
    ASSERT_EQ(memory[(2 * y + 1) * pitch + 5] == kMark, !changed) << "picture row " << y;
    ASSERT_EQ(Shown(surface, 641, 2 * y + 1), picture[y * kW + 320]) << "picture row " << y;
  }
  // The same through the bare scaler: one band of six screen rows.
  std::vector<std::uint32_t> target(kW * 2 * kH * 2);
  const PixelTarget memoryTarget{target.data(), kW * 2, kW * 2, kH * 2};
  const ScreenRect placement{0, 0, kW * 2, kH * 2};
  std::vector<RowBand> written;
  PutPicture(picture.data(), kW, kH, memoryTarget, placement, true, written);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].h, kH * 2);
  written.clear();
  PutPicture(picture.data(), kW, kH, memoryTarget, placement, false, written);
  EXPECT_TRUE(written.empty());
  for (int y = 100; y <= 102; ++y) picture[y * kW + 7] += 1;
  PutPicture(picture.data(), kW, kH, memoryTarget, placement, false, written);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].y, 200);
  EXPECT_EQ(written[0].h, 6);
}

TEST(WindowPresent, SoftwareRasterisersAreKnownByName) {
  for (const char* name : {"llvmpipe (256 bits)", "softpipe", "Software Rasterizer", "SWRAST"})
    EXPECT_TRUE(IsSoftwareRasteriser(name)) << name;
  for (const char* name : {"", "Example GPU 6600 (DRM 3.49)", "Some Vendor Graphics 620"})
    EXPECT_FALSE(IsSoftwareRasteriser(name)) << name;
}

}  // namespace
