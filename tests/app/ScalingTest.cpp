// Whole-number scaling of the 640 x 480 picture: the window's scale, the
// letterbox in full screen, and the pointer's exact way back to picture pixels.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "framework/platform/Scaling.h"

namespace {

using Zing::Platform::ChooseWindowScale;
using Zing::Platform::PictureLayout;
using Zing::Platform::ScreenRect;

std::array<int, 4> Fields(const ScreenRect& r) { return {r.x, r.y, r.w, r.h}; }

std::array<int, 2> Map(const PictureLayout& layout, int wx, int wy) {
  std::array<int, 2> p{};
  layout.WindowToPicture(wx, wy, p[0], p[1]);
  return p;
}

TEST(Scaling, WindowScaleIsTheLargestThatFitsOrTheFixedOne) {
  // Work area width and height, fixed scale (0: automatic), scale.
  for (const auto& [w, h, fixed, scale] : {std::tuple{1920, 1050, 0, 2},
                                           {5120, 2880, 0, 5},  // automatic is not held to 4
                                           {1280, 992, 0, 2},
                                           {1280, 991, 0, 1},   // no room for the title bar
                                           {0, 0, 0, 1},        // smaller desktops still get a window
                                           {1920, 1050, 3, 2},  // never larger than the desktop
                                           {3840, 2120, 3, 3},
                                           {1920, 1050, -1, 2}}) {  // out of range: automatic
    EXPECT_EQ(ChooseWindowScale({0, 0, w, h}, 640, 480, fixed), scale) << w << "x" << h << " " << fixed;
  }
}

TEST(Scaling, FullScreenIsLetterboxedAtAWholeNumberScale) {
  using Zing::Platform::FitPicture;
  EXPECT_EQ(Fields(FitPicture(1920, 1080, 640, 480)), (std::array{320, 60, 1280, 960}));
  EXPECT_EQ(Fields(FitPicture(640, 480, 640, 480)), (std::array{0, 0, 640, 480}));
  EXPECT_EQ(Fields(FitPicture(320, 480, 640, 480)), (std::array{0, 120, 320, 240}));  // shrunk, shape kept
}

TEST(Scaling, PointerMapsBackExactlyInWindowsLetterboxesAndDenseScreens) {
  for (int scale = 1; scale <= 3; ++scale) {
    PictureLayout layout;
    layout.Update(640, 480, 640 * scale, 480 * scale, 640 * scale, 480 * scale);
    EXPECT_EQ(layout.Picture().w, 640 * scale);
    // Every window pixel belongs to the picture pixel it shows.
    for (int wx = 0; wx < 640 * scale; ++wx) ASSERT_EQ(Map(layout, wx, 7)[0], wx / scale) << scale;
    for (int wy = 0; wy < 480 * scale; ++wy) ASSERT_EQ(Map(layout, 7, wy)[1], wy / scale) << scale;
  }

  PictureLayout layout;
  layout.Update(640, 480, 1920, 1080, 1920, 1080);  // scale 2 at (320, 60)
  EXPECT_EQ(Map(layout, 320, 60), (std::array{0, 0}));
  EXPECT_EQ(Map(layout, 319, 59), (std::array{-1, -1}));  // the bar is outside, not column 0
  EXPECT_EQ(Map(layout, 1599, 1019), (std::array{639, 479}));
  EXPECT_EQ(Map(layout, 1600, 1020), (std::array{640, 480}));

  // A window of 1280 x 960 points drawn with 2560 x 1920 pixels: scale 4 in
  // pixels, still 2 in pointer positions.
  layout.Update(640, 480, 2560, 1920, 1280, 960);
  EXPECT_EQ(layout.Picture().w, 2560);
  for (int wx = 0; wx < 1280; ++wx) ASSERT_EQ(Map(layout, wx, 0)[0], wx / 2);
  EXPECT_EQ(Map(layout, 1279, 959)[1], 479);
}

}  // namespace
