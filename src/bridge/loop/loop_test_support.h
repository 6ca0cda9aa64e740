// Test support for the real-time loops: a pipe to make a descriptor
// readable on demand, and the process's CPU time to tell sleeping from
// spinning.
#pragma once

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "bridge/loop/event_loop.h"

namespace zorvik::test {

// CPU time this process has used, in microseconds.
inline Micros ProcessCpuMicros() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<Micros>(ts.tv_sec) * kMicrosPerSecond + ts.tv_nsec / 1000;
}

// A pipe closed at the end of the test; the read end is non-blocking so a
// spurious readiness callback cannot hang the test.
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
    while ((n = read(fds_[0], buffer, sizeof buffer)) > 0)
      text.append(buffer, static_cast<size_t>(n));
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

// CPU time spent by `loop` in a long wait with an idle descriptor and a
// timer, then in 100 waits shorter than a millisecond (where a timeout
// rounded down to whole milliseconds would spin). A loop that sleeps uses a
// small fraction of the ~290 ms.
inline Micros CpuUsedByWaits(EventLoop& loop) {
  constexpr Micros kMillisecond = 1000;
  Pipe idle;
  loop.WatchReadable(idle.read_end(), [] {});
  loop.ScheduleAfter(100 * kMillisecond, [] {});
  const Micros cpu_start = ProcessCpuMicros();
  loop.Wait(200 * kMillisecond);
  for (int i = 0; i < 100; ++i) loop.Wait(900);
  const Micros used = ProcessCpuMicros() - cpu_start;
  loop.Unwatch(idle.read_end());
  return used;
}

}  // namespace zorvik::test
