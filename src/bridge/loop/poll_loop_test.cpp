#include "bridge/loop/poll_loop.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/loop_test_support.h"

namespace zorvik::test {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Poll, RealTimeLoopTest, PollLoop);

// The same contract on a clock a hundred times faster than the steady one.
class FastPollLoop : public PollLoop {
 public:
  FastPollLoop() : PollLoop(100) {}
};
INSTANTIATE_TYPED_TEST_SUITE_P(FastPoll, RealTimeLoopTest, FastPollLoop);

constexpr Micros kMillisecond = 1000;

// At speed 100, timers and waits keep their lengths and their order on the
// loop's clock, nested waits included, while the steady clock sees a
// hundredth of each: 8 s of the loop's time pass in about 80 ms.
TEST(PollLoopTest, ASpeedShortensEveryWaitAndKeepsTheOrder) {
  PollLoop loop(100);
  std::vector<std::string> log;
  std::vector<Micros> late;  // how far past its due time each entry ran
  const Micros start = loop.Now();
  const auto note = [&](const std::string& what, Micros due) {
    log.push_back(what);
    late.push_back(loop.Now() - start - due);
  };
  loop.ScheduleAfter(1 * kMicrosPerSecond, [&] {
    note("a", 1 * kMicrosPerSecond);
    loop.Wait(3 * kMicrosPerSecond);
    note("a-end", 4 * kMicrosPerSecond);
  });
  loop.ScheduleAfter(2 * kMicrosPerSecond, [&] { note("b", 2 * kMicrosPerSecond); });
  loop.ScheduleAfter(6 * kMicrosPerSecond, [&] { note("c", 6 * kMicrosPerSecond); });
  const auto real_start = std::chrono::steady_clock::now();
  loop.Wait(8 * kMicrosPerSecond);
  const auto real_elapsed = std::chrono::steady_clock::now() - real_start;
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a-end", "c"}));
  for (Micros by : late) EXPECT_GE(by, 0);  // nothing early
  EXPECT_GE(loop.Now() - start, 8 * kMicrosPerSecond);
  EXPECT_GE(real_elapsed, std::chrono::milliseconds(80));
  EXPECT_LT(real_elapsed, std::chrono::seconds(4));  // not the 8 s of speed 1
}

// A task that waits runs the tasks falling due meanwhile nested inside its
// wait, once; a long nested wait ends the outer wait as soon as it returns.
// An idle wait lasts its length on the loop's clock and the steady one.
TEST(PollLoopTest, NestedWaits) {
  PollLoop loop;
  std::vector<std::string> log;
  loop.ScheduleAfter(1 * kMillisecond, [&] {
    log.push_back("a-start");
    loop.Wait(60 * kMillisecond);
    log.push_back("a-end");
  });
  loop.ScheduleAfter(5 * kMillisecond, [&] { log.push_back("b"); });
  loop.ScheduleAfter(3 * kMicrosPerSecond, [&] { log.push_back("late"); });
  const Micros start = loop.Now();
  const auto real_start = std::chrono::steady_clock::now();
  loop.Wait(20 * kMillisecond);
  EXPECT_EQ(log, (std::vector<std::string>{"a-start", "b", "a-end"}));
  EXPECT_GE(loop.Now() - start, 61 * kMillisecond);
  EXPECT_GE(std::chrono::steady_clock::now() - real_start, std::chrono::milliseconds(61));
  EXPECT_LT(loop.Now() - start, 2 * kMicrosPerSecond);  // "late" is not waited for
}

// A socket whose send buffer is full is reported writable only once the
// peer has read; the writable watch is independent of the readable one, so
// dropping it leaves reading in place, and Run ends once both are gone.
TEST(PollLoopTest, WritableWatchFollowsTheSendBuffer) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds), 0);
  const std::string chunk(4096, 'x');
  std::size_t queued = 0;
  while (write(fds[0], chunk.data(), chunk.size()) > 0) queued += chunk.size();
  ASSERT_GT(queued, 0u);

  PollLoop loop;
  std::vector<std::string> log;
  loop.WatchReadable(fds[0], [&] {
    char byte;
    const ssize_t got = read(fds[0], &byte, 1);
    log.push_back(got == 1 ? "read" : "eof");
    if (got <= 0) loop.Unwatch(fds[0]);
  });
  loop.WatchWritable(fds[0], [&] {
    log.push_back("writable");
    loop.UnwatchWritable(fds[0]);
  });
  loop.Wait(20 * kMillisecond);
  EXPECT_TRUE(log.empty());

  loop.ScheduleAfter(5 * kMillisecond, [&] {
    std::vector<char> buffer(queued);
    std::size_t drained = 0;
    ssize_t got;
    while ((got = read(fds[1], buffer.data(), buffer.size())) > 0)
      drained += static_cast<std::size_t>(got);
    log.push_back(drained == queued ? "drained" : "partly drained");
  });
  loop.Wait(100 * kMillisecond);
  EXPECT_EQ(log, (std::vector<std::string>{"drained", "writable"}));

  ASSERT_EQ(write(fds[1], "z", 1), 1);
  close(fds[1]);
  const auto real_start = std::chrono::steady_clock::now();
  loop.Run();
  EXPECT_EQ(log, (std::vector<std::string>{"drained", "writable", "read", "eof"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
  close(fds[0]);
}

}  // namespace
}  // namespace zorvik::test
