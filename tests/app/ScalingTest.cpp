// Whole-number scaling of the 640 x 480 picture: the window's scale, the
// letterbox in full screen, and the pointer's exact way back to picture pixels.

#include <gtest/gtest.h>

#include "framework/platform/Scaling.h"

namespace {

using Zing::Platform::ChooseWindowScale;
using Zing::Platform::FitPicture;
using Zing::Platform::PictureLayout;
using Zing::Platform::ScreenRect;

struct Point {
  int x;
  int y;
};

Point Map(const PictureLayout& layout, int wx, int wy) {
  Point p{};
  layout.WindowToPicture(wx, wy, p.x, p.y);
  return p;
}

TEST(Scaling, WindowScaleIsTheLargestThatFitsOrTheFixedOne) {
  const ScreenRect fullHd{0, 0, 1920, 1050};
  EXPECT_EQ(ChooseWindowScale(fullHd, 640, 480, 0), 2);
  EXPECT_EQ(ChooseWindowScale({0, 0, 3840, 2120}, 640, 480, 0), 4);
  EXPECT_EQ(ChooseWindowScale({0, 0, 5120, 2880}, 640, 480, 0), 5);  // automatic is not held to 4
  EXPECT_EQ(ChooseWindowScale({0, 0, 1280, 992}, 640, 480, 0), 2);
  EXPECT_EQ(ChooseWindowScale({0, 0, 1280, 991}, 640, 480, 0), 1);  // no room for the title bar
  EXPECT_EQ(ChooseWindowScale({0, 0, 1279, 2000}, 640, 480, 0), 1);
  EXPECT_EQ(ChooseWindowScale({0, 0, 800, 400}, 640, 480, 0), 1);   // smaller desktops still get a window
  EXPECT_EQ(ChooseWindowScale({}, 640, 480, 0), 1);
  EXPECT_EQ(ChooseWindowScale(fullHd, 640, 480, 1), 1);
  EXPECT_EQ(ChooseWindowScale(fullHd, 640, 480, 3), 2);  // never larger than the desktop
  EXPECT_EQ(ChooseWindowScale({0, 0, 3840, 2120}, 640, 480, 3), 3);
  EXPECT_EQ(ChooseWindowScale(fullHd, 640, 480, 5), 2);  // out of range: automatic
  EXPECT_EQ(ChooseWindowScale(fullHd, 640, 480, -1), 2);
}

TEST(Scaling, FullScreenIsLetterboxedAtAWholeNumberScale) {
  EXPECT_EQ(FitPicture(1920, 1080, 640, 480).x, 320);
  const ScreenRect hd = FitPicture(1920, 1080, 640, 480);
  EXPECT_EQ(hd.y, 60);
  EXPECT_EQ(hd.w, 1280);
  EXPECT_EQ(hd.h, 960);
  const ScreenRect same = FitPicture(640, 480, 640, 480);
  EXPECT_EQ(same.x, 0);
  EXPECT_EQ(same.w, 640);
  const ScreenRect small = FitPicture(320, 480, 640, 480);  // shrunk, shape kept
  EXPECT_EQ(small.w, 320);
  EXPECT_EQ(small.h, 240);
  EXPECT_EQ(small.y, 120);
}

TEST(Scaling, PointerMapsBackExactlyAtScalesOneTwoAndThree) {
  for (int scale = 1; scale <= 3; ++scale) {
    PictureLayout layout;
    layout.Update(640, 480, 640 * scale, 480 * scale, 640 * scale, 480 * scale);
    EXPECT_EQ(layout.Picture().w, 640 * scale);
    // Every window pixel belongs to the picture pixel it shows.
    for (int wx = 0; wx < 640 * scale; ++wx) ASSERT_EQ(Map(layout, wx, 7).x, wx / scale) << scale;
    for (int wy = 0; wy < 480 * scale; ++wy) ASSERT_EQ(Map(layout, 7, wy).y, wy / scale) << scale;
  }
}

TEST(Scaling, LetterboxBarsAndDenseScreensMapOutsideAndBack) {
  PictureLayout layout;
  layout.Update(640, 480, 1920, 1080, 1920, 1080);  // scale 2 at (320, 60)
  EXPECT_EQ(Map(layout, 320, 60).x, 0);
  EXPECT_EQ(Map(layout, 320, 60).y, 0);
  EXPECT_EQ(Map(layout, 319, 59).x, -1);  // the bar is outside, not column 0
  EXPECT_EQ(Map(layout, 319, 59).y, -1);
  EXPECT_EQ(Map(layout, 1599, 1019).x, 639);
  EXPECT_EQ(Map(layout, 1599, 1019).y, 479);
  EXPECT_EQ(Map(layout, 1600, 1020).x, 640);
  EXPECT_EQ(Map(layout, 1600, 1020).y, 480);

  // A window of 1280 x 960 points drawn with 2560 x 1920 pixels: scale 4 in
  // pixels, still 2 in pointer positions.
  layout.Update(640, 480, 2560, 1920, 1280, 960);
  EXPECT_EQ(layout.Picture().w, 2560);
  for (int wx = 0; wx < 1280; ++wx) ASSERT_EQ(Map(layout, wx, 0).x, wx / 2);
  EXPECT_EQ(Map(layout, 1279, 959).y, 479);
}

}  // namespace
