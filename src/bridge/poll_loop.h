// The event loop on real time, for the headless console and IRC: timers and
// readable and writable descriptors on ppoll(), the clock read from std::chrono's
// steady_clock (monotonic, unaffected by changes of the time of day).
//
// Tasks keep VirtualLoop's order: by due time, then by order of scheduling.
// Every wait sleeps in ppoll() until the next task, the next readable
// descriptor or its own end, whichever comes first; nothing busy-waits. No
// threads: every call, Quit included, belongs to the loop's own thread.
//
// Every call that runs tasks or callbacks (Wait, DispatchPending, Run) may
// dispatch (re-enter): a task or callback may schedule, cancel, watch,
// unwatch, wait and quit.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>

#include "bridge/event_loop.h"
#include "bridge/task_queue.h"

namespace zorvik {

class PollLoop : public EventLoop {
 public:
  PollLoop();

  // Microseconds since the loop was made.
  Micros Now() const override;
  TimerId ScheduleAt(Micros due, Task task) override;
  void Cancel(TimerId id) override;

  // Runs due tasks and ready descriptors' callbacks until the clock reaches
  // Now() + length, sleeping whenever nothing is due. Tasks due at or after
  // the end are left for later. Returns at once when the clock has reached
  // the end after a task (a long task or a nested wait may overshoot it).
  void Wait(Micros length) override;

  // Runs the tasks due at the call that were scheduled before it, in order,
  // then polls the descriptors once without sleeping and calls the callbacks
  // of the ready ones. Never sleeps.
  void DispatchPending() override;

  // Dispatches, sleeping in between, until no task is scheduled and no
  // descriptor is watched, or Quit.
  void Run() override;

  void Quit() override { quitting_ = true; }
  bool Quitting() const override { return quitting_; }

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

 private:
  struct Watch {
    Task on_readable;  // empty when not watched for reading
    Task on_writable;  // empty when not watched for writing
    // Tell a replaced callback from the one polled.
    std::uint64_t read_generation = 0;
    std::uint64_t write_generation = 0;
  };

  // Runs the tasks due at the call, scheduled before it and due before
  // `end`, in order; stops early once the clock reaches `end` or on Quit.
  void RunDueTasks(Micros end);

  // Sleeps in ppoll() on the watched descriptors until one is ready or the
  // clock reaches `until` (forever when `until` is kNever), then calls the
  // ready ones' callbacks in descriptor order.
  void PollDescriptors(Micros until);

  static constexpr Micros kNever = INT64_MAX;

  const std::chrono::steady_clock::time_point start_;
  bool quitting_ = false;
  TaskQueue tasks_;
  std::uint64_t last_generation_ = 0;
  std::map<int, Watch> watches_;
};

}  // namespace zorvik
