#include "bridge/own_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace zorvik {
namespace {

// Halves round away from zero; whatever lies beyond int, infinities
// included, is clamped; NaN is 0.
TEST(RoundToIntTest, RoundsHalvesAwayAndClamps) {
  const struct {
    double value;
    int rounded;
  } cases[] = {
      {0.0, 0},
      {0.49, 0},
      {0.5, 1},
      {-0.5, -1},
      {2.5, 3},
      {-2.5, -3},
      {326.4, 326},
      {INT_MAX - 0.4, INT_MAX},
      {INT_MAX + 1.0, INT_MAX},
      {INT_MIN - 1.0, INT_MIN},
      {1e300, INT_MAX},
      {-INFINITY, INT_MIN},
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.value), c.rounded) << c.value;
}

}  // namespace
}  // namespace zorvik
