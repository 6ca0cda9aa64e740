// Test support for the real-time loops: a pipe to make a descriptor
// readable on demand, and the contract every real-time loop keeps, as typed
// tests.
#pragma once

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/event_loop.h"

namespace zorvik::test {

// A pipe closed at the end of the test; the read end is non-blocking so a
// spurious readiness callback cannot hang the test.
class Pipe {
 public:
  Pipe() {
    EXPECT_EQ(pipe(fds_), 0);
    fcntl(fds_[0], F_SETFL, O_NONBLOCK);
  }
  ~Pipe() {
    Close(0);
    Close(1);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  int read_end() const { return fds_[0]; }
  void Write(const std::string& text) {
    EXPECT_EQ(write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  std::string ReadAll() {
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = read(fds_[0], buffer, sizeof buffer)) > 0;)
      text.append(buffer, static_cast<size_t>(n));
    return text;
  }
  // Closes the read end (0) or the write end (1).
  void Close(int end) {
    if (fds_[end] >= 0) close(fds_[end]);
    fds_[end] = -1;
  }

 private:
  int fds_[2] = {-1, -1};
};

template <typename Loop>
class RealTimeLoopTest : public ::testing::Test {};
TYPED_TEST_SUITE_P(RealTimeLoopTest);

// A pipe that becomes readable wakes a sleeping wait; its callback runs
// inside the wait, can unwatch itself, and Run then ends as nothing is left;
// a hang-up is reported too. A descriptor closed while still watched is
// forgotten instead of being reported forever, so Run ends as well.
TYPED_TEST_P(RealTimeLoopTest, Descriptors) {
  using Log = std::vector<std::string>;
  TypeParam loop;
  Pipe pipe;
  Log got;
  ASSERT_TRUE(loop.WatchReadable(pipe.read_end(), [&] { got.push_back(pipe.ReadAll()); }));
  loop.ScheduleAfter(5'000, [&] { pipe.Write("hello"); });
  loop.Wait(200'000);
  EXPECT_EQ(got, (Log{"hello"}));

  loop.WatchReadable(pipe.read_end(), [&] {
    got.push_back("hup:" + pipe.ReadAll());
    loop.Unwatch(pipe.read_end());
  });
  loop.ScheduleAfter(5'000, [&] {
    pipe.Write("bye");
    pipe.Close(1);
  });
  const auto real_start = std::chrono::steady_clock::now();
  loop.Run();
  EXPECT_EQ(got, (Log{"hello", "hup:bye"}));

  Pipe closed;
  int calls = 0;
  loop.WatchReadable(closed.read_end(), [&] { ++calls; });
  closed.Close(0);
  loop.Run();
  EXPECT_EQ(calls, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

// Quit from a task nested in a nested wait: every wait returns at once, the
// waiting task's code after its wait still finishes, Run returns, and
// nothing more runs, not even a readable descriptor.
TYPED_TEST_P(RealTimeLoopTest, QuitInsideNestedTaskStopsEverything) {
  TypeParam loop;
  Pipe pipe;
  std::vector<std::string> log;
  loop.WatchReadable(pipe.read_end(), [&] { log.push_back("fd"); });
  loop.ScheduleAfter(1'000, [&] {
    loop.Wait(10 * kMicrosPerSecond);
    log.push_back("a-end");
  });
  loop.ScheduleAfter(2'000, [&] { loop.Quit(); });
  loop.ScheduleAfter(3'000, [&] { log.push_back("never"); });
  const auto real_start = std::chrono::steady_clock::now();
  loop.Wait(20 * kMicrosPerSecond);
  EXPECT_TRUE(loop.Quitting());
  pipe.Write("x");
  loop.DispatchPending();
  loop.Run();
  loop.Wait(10 * kMicrosPerSecond);
  EXPECT_EQ(log, (std::vector<std::string>{"a-end"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

// Waiting sleeps: a long wait with an idle descriptor and a timer, then 100
// waits shorter than a millisecond (where a timeout rounded down to whole
// milliseconds would spin), use a small part of the ~290 ms in CPU time.
TYPED_TEST_P(RealTimeLoopTest, WaitDoesNotSpin) {
  const auto cpu_micros = [] {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<Micros>(ts.tv_sec) * kMicrosPerSecond + ts.tv_nsec / 1000;
  };
  TypeParam loop;
  Pipe idle;
  loop.WatchReadable(idle.read_end(), [] {});
  loop.ScheduleAfter(100'000, [] {});
  const Micros cpu_start = cpu_micros();
  loop.Wait(200'000);
  for (int i = 0; i < 100; ++i) loop.Wait(900);
  EXPECT_LT(cpu_micros() - cpu_start, 50'000);
  loop.Unwatch(idle.read_end());
}

REGISTER_TYPED_TEST_SUITE_P(RealTimeLoopTest, Descriptors, QuitInsideNestedTaskStopsEverything,
                            WaitDoesNotSpin);

}  // namespace zorvik::test
