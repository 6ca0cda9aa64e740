// The event loop on real time, for the headless console and IRC: timers and
// readable and writable descriptors on ppoll().
//
// Tasks keep VirtualLoop's order: by due time, then by order of scheduling.
// Every wait sleeps in ppoll() until the next task, the next ready
// descriptor or its own end, whichever comes first; nothing busy-waits.
// Run ends when no task is scheduled and no descriptor is watched.
//
// Every call that runs tasks or callbacks (Wait, DispatchPending, Run) may
// dispatch (re-enter): a task or callback may schedule, cancel, watch,
// unwatch, wait and quit.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "bridge/loop/real_time_loop.h"

namespace zorvik {

class PollLoop : public RealTimeLoop {
 public:
  // `speed` as for RealTimeLoop: the demo's --speed runs the same match on
  // a clock that many times faster.
  explicit PollLoop(int speed = 1) : RealTimeLoop(speed) {}

  // `on_ready` is called from the loop's dispatch (never inside this call)
  // each time a poll finds `fd` readable, hung up or in error; it is called
  // again on every poll while that lasts, so it should read or Unwatch. The
  // loop does not own `fd`; Unwatch it before closing it — a watched
  // descriptor found closed (POLLNVAL) is forgotten.
  bool WatchReadable(int fd, Task on_ready) override;
  // The same for writability (POLLOUT, or an error or hang-up). Level
  // triggered too: unwatch it once there is nothing left to write.
  bool WatchWritable(int fd, Task on_ready) override;
  void UnwatchWritable(int fd) override;
  void Unwatch(int fd) override;

  // Dispatches like Run until `done()` is true (asked after every task pass
  // and every sleep) or Quit. For modal boxes: `done` must become true
  // through something the loop dispatches (a key read, a task).
  void WaitUntil(const std::function<bool()>& done);

 private:
  struct Watch {
    Task on_readable;  // empty when not watched for reading
    Task on_writable;  // empty when not watched for writing
    // Tell a replaced callback from the one polled.
    std::uint64_t read_generation = 0;
    std::uint64_t write_generation = 0;
  };

  // Sleeps in ppoll() on the watched descriptors until one is ready or the
  // clock reaches `until` (forever when `until` is kNever), then calls the
  // ready ones' callbacks in descriptor order.
  void Sleep(Micros until) override;
  // Polls once without sleeping and calls the ready ones' callbacks.
  void HandlePendingEvents() override { Sleep(0); }
  bool ExpectsEvents() const override { return !watches_.empty(); }

  std::uint64_t last_generation_ = 0;
  std::map<int, Watch> watches_;
};

}  // namespace zorvik
