// The desktop loop without a display: its order, nesting, descriptors and
// sleeping are the same contract as PollLoop's; window events come on top
// in the desktop smoke test.
#include "bridge/fltk_loop.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

constexpr Micros kMillisecond = 1000;
using Log = std::vector<std::string>;

Micros ProcessCpuMicros() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<Micros>(ts.tv_sec) * kMicrosPerSecond + ts.tv_nsec / 1000;
}

class Pipe {
 public:
  Pipe() {
    EXPECT_EQ(pipe(fds_), 0);
    fcntl(fds_[0], F_SETFL, O_NONBLOCK);
  }
  ~Pipe() {
    CloseWriteEnd();
    if (fds_[0] >= 0) close(fds_[0]);
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
    ssize_t n;
    while ((n = read(fds_[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    return text;
  }
  void CloseWriteEnd() {
    if (fds_[1] >= 0) close(fds_[1]);
    fds_[1] = -1;
  }
  void CloseReadEnd() {
    close(fds_[0]);
    fds_[0] = -1;
  }

 private:
  int fds_[2] = {-1, -1};
};

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

// Waiting sleeps: a long wait with an idle descriptor and a timer, and many
// waits shorter than a millisecond, use a small fraction of the time in CPU.
TEST(FltkLoopTest, WaitDoesNotSpin) {
  FltkLoop loop;
  Pipe idle;
  loop.WatchReadable(idle.read_end(), [] {});
  loop.ScheduleAfter(100 * kMillisecond, [] {});
  const Micros cpu_start = ProcessCpuMicros();
  loop.Wait(200 * kMillisecond);
  for (int i = 0; i < 100; ++i) loop.Wait(900);
  EXPECT_LT(ProcessCpuMicros() - cpu_start, 50 * kMillisecond);
}

}  // namespace
}  // namespace zorvik
