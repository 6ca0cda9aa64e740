// The desktop loop without a display: its order, nesting, descriptors and
// sleeping are the same contract as PollLoop's; window events come on top
// in the desktop smoke test.
#include "bridge/loop/fltk_loop.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/loop_test_support.h"

namespace zorvik {
namespace {

using test::Pipe;

constexpr Micros kMillisecond = 1000;
using Log = std::vector<std::string>;

// A pipe that becomes readable wakes a sleeping wait; its callback runs as
// a task, can unwatch itself, and Run then ends as nothing is left. A
// descriptor closed while watched is forgotten, so Run ends too.
TEST(FltkLoopTest, Descriptors) {
  FltkLoop loop;
  Pipe pipe;
  Log got;
  ASSERT_TRUE(loop.WatchReadable(pipe.read_end(), [&] { got.push_back(pipe.ReadAll()); }));
  loop.ScheduleAfter(5 * kMillisecond, [&] { pipe.Write("hello"); });
  loop.Wait(200 * kMillisecond);
  EXPECT_EQ(got, (Log{"hello"}));

  loop.WatchReadable(pipe.read_end(), [&] {
    got.push_back("hup:" + pipe.ReadAll());
    loop.Unwatch(pipe.read_end());
  });
  loop.ScheduleAfter(5 * kMillisecond, [&] {
    pipe.Write("bye");
    pipe.CloseWriteEnd();
  });
  const auto real_start = std::chrono::steady_clock::now();
  loop.Run();
  EXPECT_EQ(got, (Log{"hello", "hup:bye"}));

  Pipe closed;
  int calls = 0;
  loop.WatchReadable(closed.read_end(), [&] { ++calls; });
  closed.CloseReadEnd();
  loop.Run();
  EXPECT_EQ(calls, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

// Quit from a task nested in a wait: every wait returns at once, Run and
// WaitUntil return, nothing more runs. WaitUntil otherwise returns as soon
// as a task has made its condition true.
TEST(FltkLoopTest, WaitUntilAndQuit) {
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

  loop.ScheduleAfter(1 * kMillisecond, [&] {
    loop.Wait(10 * kMicrosPerSecond);
    log.push_back("outer-end");
  });
  loop.ScheduleAfter(2 * kMillisecond, [&] { loop.Quit(); });
  loop.ScheduleAfter(3 * kMillisecond, [&] { log.push_back("never"); });
  loop.WaitUntil([] { return false; });
  EXPECT_TRUE(loop.Quitting());
  loop.Run();
  loop.Wait(10 * kMicrosPerSecond);
  loop.DispatchPending();
  EXPECT_EQ(log, (Log{"closes", "outer-end"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

// Waiting sleeps: long and sub-millisecond waits use little CPU.
TEST(FltkLoopTest, WaitDoesNotSpin) {
  FltkLoop loop;
  EXPECT_LT(test::CpuUsedByWaits(loop), 50 * kMillisecond);
}

}  // namespace
}  // namespace zorvik
