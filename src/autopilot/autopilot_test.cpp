#include "autopilot/autopilot.h"

#include <gtest/gtest.h>

namespace zorvik {
namespace {

TEST(AutopilotTest, DescribesTimeLimitsInWholeSeconds) {
  const struct {
    Micros length;
    const char* said;
  } kCases[] = {
      {0, "0 seconds"},
      {-5 * kMicrosPerSecond, "0 seconds"},
      {1 * kMicrosPerSecond, "1 second"},
      {59'600'000, "1 minute"},  // rounded to the nearest second
      {60 * kMicrosPerSecond, "1 minute"},
      {61 * kMicrosPerSecond, "1 minute 1 second"},
      {150 * kMicrosPerSecond, "2 minutes 30 seconds"},
      {600 * kMicrosPerSecond, "10 minutes"},
  };
  for (const auto& c : kCases) EXPECT_EQ(DescribeDuration(c.length), c.said) << c.length;
}

}  // namespace
}  // namespace zorvik
