// The desktop loop without a display: its order, nesting, descriptors and
// sleeping are the same contract as PollLoop's; window events come on top
// in the desktop smoke test.
#include "bridge/loop/fltk_loop.h"

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/loop_test_support.h"

namespace zorvik::test {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Fltk, RealTimeLoopTest, FltkLoop);

constexpr Micros kMillisecond = 1000;
using Log = std::vector<std::string>;

// WaitUntil returns as soon as a task has made its condition true (quitting
// from a nested task is the shared contract's).
TEST(FltkLoopTest, WaitUntilReturnsOnceTheConditionHolds) {
  FltkLoop loop;
  Log log;
  bool done = false;
  loop.ScheduleAfter(5 * kMillisecond, [&] {
    log.push_back("closes");
    done = true;
  });
  loop.ScheduleAfter(3 * kMicrosPerSecond, [&] { log.push_back("late"); });
  const auto real_start = std::chrono::steady_clock::now();
  loop.WaitUntil([&] { return done; });
  EXPECT_EQ(log, (Log{"closes"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace zorvik::test
