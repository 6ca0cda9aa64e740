#include "windows/twips.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// 15 twips a pixel at 96 dpi, scaled with the resolution, rounded to the
// nearest pixel.
TEST(TwipScaleTest, ConvertsAtCommonResolutions) {
  struct Case {
    double dpi;
    std::int64_t twips;
    int pixels;
  };
  const Case cases[] = {
      {96, 5415, 361}, {96, 1335, 89},   {96, 15, 1},      {96, 7, 0},       {96, 8, 1},
      {96, -8, -1},    {120, 5415, 451}, {144, 5415, 542}, {192, 1335, 178}, {72, 1665, 83},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipScale(c.dpi).Pixels(c.twips), c.pixels) << c.dpi << " dpi, " << c.twips;
  }
}

// A screen that reports nonsense is treated as 96 dpi.
TEST(TwipScaleTest, ImplausibleResolutionsFallBackTo96) {
  for (double dpi :
       {0.0, -96.0, 1.0, 47.9, 5000.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(TwipScale(dpi).dpi(), 96.0) << dpi;
  }
  EXPECT_EQ(TwipScale(48).dpi(), 48.0);
  EXPECT_EQ(TwipScale(960).dpi(), 960.0);
}

// Edges are rounded, not widths: the console's frames (0..2655 and
// 2760..5415) and the form's buttons (0..975, 960..1935) keep their gaps
// and overlaps at every scale, and the last edge lands on the window's.
TEST(TwipScaleTest, RectanglesKeepTheirEdges) {
  for (double dpi : {96.0, 110.0, 120.0, 144.0}) {
    const TwipScale scale(dpi);
    const PixelRect left = scale.Rect(0, 0, 2655, 615);
    const PixelRect right = scale.Rect(2760, 0, 2655, 615);
    EXPECT_EQ(right.x + right.w, scale.Pixels(5415)) << dpi;
    EXPECT_EQ(left.x + left.w, scale.Pixels(2655)) << dpi;
    const PixelRect bug = scale.Rect(0, 1080, 975, 255);
    const PixelRect comments = scale.Rect(960, 1080, 975, 255);
    EXPECT_GT(bug.x + bug.w, comments.x) << dpi;  // they overlap by 15 twips
    EXPECT_EQ(bug.y + bug.h, scale.Pixels(1335)) << dpi;
  }
  EXPECT_EQ(TwipScale(96).Rect(120, 240, 1095, 255), (PixelRect{8, 16, 73, 17}));
}

// Absurd inputs clamp instead of overflowing.
TEST(TwipScaleTest, HugeValuesClamp) {
  const TwipScale scale(960);
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(scale.Pixels(kMax), std::numeric_limits<int>::max());
  EXPECT_EQ(scale.Pixels(-kMax), std::numeric_limits<int>::min());
  const PixelRect rect = scale.Rect(kMax, kMax, kMax, kMax);
  EXPECT_GE(rect.w, 0);
  EXPECT_GE(rect.h, 0);
}

// 6.75 points is 9 pixels at 96 dpi; fonts never vanish.
TEST(TwipScaleTest, FontSizes) {
  EXPECT_EQ(TwipScale(96).FontPixels(6.75), 9);
  EXPECT_EQ(TwipScale(144).FontPixels(6.75), 14);
  EXPECT_EQ(TwipScale(96).FontPixels(8.25), 11);
  EXPECT_EQ(TwipScale(96).FontPixels(0), 1);
  EXPECT_EQ(TwipScale(96).FontPixels(std::nan("")), 1);
}

}  // namespace
}  // namespace zorvik
