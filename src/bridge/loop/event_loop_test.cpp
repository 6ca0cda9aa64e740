#include "bridge/loop/event_loop.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// Script times and pauses round to the nearest microsecond; hostile values
// clamp instead of overflowing.
TEST(SecondsToMicrosTest, RoundsAndClamps) {
  EXPECT_EQ(SecondsToMicros(0.51), 510'000);
  EXPECT_EQ(SecondsToMicros(12.2500004), 12'250'000);
  EXPECT_EQ(SecondsToMicros(0.0000005), 1);
  EXPECT_EQ(SecondsToMicros(-3), 0);
  EXPECT_EQ(SecondsToMicros(std::nan("")), 0);
  EXPECT_EQ(SecondsToMicros(std::numeric_limits<double>::infinity()),
            SecondsToMicros(10.0 * 365 * 24 * 3600));
}

}  // namespace
}  // namespace zorvik
