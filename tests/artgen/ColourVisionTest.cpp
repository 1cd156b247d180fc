// The seven link colours stay apart for players with normal vision and with
// each of the three common colour-vision deficiencies.
#include <gtest/gtest.h>

#include "tools/artgen/Palette.h"

namespace ArtTest {
namespace {

using artgen::DeltaE2000;
using artgen::kLinkColours;
using artgen::SeenAs;
using artgen::Vision;

// A CIEDE2000 difference of 12 is plainly visible at a glance.
constexpr double kMinimumDifference = 12.0;

TEST(ColourVision, DifferenceMeasureBehaves) {
  const artgen::Rgb8 red{255, 0, 0}, green{0, 255, 0}, grey{128, 128, 128};
  EXPECT_NEAR(DeltaE2000(SeenAs(grey, Vision::Normal), SeenAs(grey, Vision::Normal)), 0.0, 1e-9);
  EXPECT_GT(DeltaE2000(SeenAs(red, Vision::Normal), SeenAs(green, Vision::Normal)), 50.0);
  // Pure red and green, far apart normally, come close for red-green deficiencies.
  EXPECT_LT(DeltaE2000(SeenAs(red, Vision::Deuteranopia), SeenAs(green, Vision::Deuteranopia)),
            DeltaE2000(SeenAs(red, Vision::Normal), SeenAs(green, Vision::Normal)) / 2);
  // A grey stays grey for every vision.
  for (Vision v : artgen::kAllVisions) EXPECT_NEAR(SeenAs(grey, v).l, SeenAs(grey, Vision::Normal).l, 3.0);
}

// Every pair of links, and every link against the cells, for every vision;
// the links also spread in lightness.
TEST(ColourVision, LinkColoursStayApartFromEachOtherAndTheCells) {
  const artgen::Rgb8 cell{46, 104, 98};
  double lo = 100, hi = 0;
  for (Vision v : artgen::kAllVisions) {
    for (size_t i = 0; i < kLinkColours.size(); ++i) {
      EXPECT_GE(DeltaE2000(SeenAs(kLinkColours[i], v), SeenAs(cell, v)), kMinimumDifference) << i;
      for (size_t j = i + 1; j < kLinkColours.size(); ++j) {
        EXPECT_GE(DeltaE2000(SeenAs(kLinkColours[i], v), SeenAs(kLinkColours[j], v)), kMinimumDifference)
            << "links " << i << " and " << j << " with vision " << int(v);
      }
      lo = std::min(lo, SeenAs(kLinkColours[i], Vision::Normal).l);
      hi = std::max(hi, SeenAs(kLinkColours[i], Vision::Normal).l);
    }
  }
  EXPECT_GE(hi - lo, 40.0);
}

}  // namespace
}  // namespace ArtTest
