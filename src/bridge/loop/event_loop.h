// The one event loop every handler of the program runs on.
//
// All handlers run on one thread. A handler that waits (Wait, and everything
// built on it: ChatSend, Pause, the client polls) keeps dispatching: a task
// that falls due during the wait runs to its end nested inside it, and the
// waiting handler then carries on with whatever state the nested one left.
// That nesting is how the host behaves, so every realisation reproduces it,
// but none busy-waits: a wait sleeps until the next task or its deadline.
//
// Realisations: PollLoop (real time on poll(), monotonic clock) and
// VirtualLoop (tests and replay; the clock jumps to the next due task).
#pragma once

#include <cstdint>
#include <functional>

namespace zorvik {

// Time on a loop's clock, in whole microseconds since the loop was made.
using Micros = std::int64_t;

constexpr Micros kMicrosPerSecond = 1'000'000;

// Converts seconds to whole microseconds, rounding to the nearest one.
// Negative, NaN and absurdly large values are clamped into [0, 10 years].
Micros SecondsToMicros(double seconds);

class EventLoop {
 public:
  using Task = std::function<void()>;
  using TimerId = std::uint64_t;

  EventLoop() = default;
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;
  virtual ~EventLoop() = default;

  // The loop's clock. Monotonic: never goes back, unaffected by the time of day.
  virtual Micros Now() const = 0;

  // Schedules `task` to run once the clock has reached `due` (a due time in
  // the past means "as soon as possible"). Tasks run in order of due time;
  // tasks with equal due times run in the order they were scheduled, so a
  // task scheduled now for now runs behind everything already due. Never
  // runs the task inside this call. Returns an id for Cancel.
  virtual TimerId ScheduleAt(Micros due, Task task) = 0;

  // Shorthands: run after `delay`, or as soon as possible.
  TimerId ScheduleAfter(Micros delay, Task task) {
    return ScheduleAt(Now() + delay, std::move(task));
  }
  TimerId Post(Task task) { return ScheduleAt(Now(), std::move(task)); }

  // Forgets a scheduled task that has not started yet. Unknown ids are ignored.
  virtual void Cancel(TimerId id) = 0;

  // Waits `length` microseconds from now, running every task that falls due
  // before the end, each nested inside this call (a task may itself Wait).
  // Returns once the clock has reached the end, before running tasks due at
  // that very moment. A length of 0 or less returns at once without running
  // anything. Returns at once after Quit. May dispatch (re-enter).
  virtual void Wait(Micros length) = 0;

  // One dispatch pass: runs the tasks that are due at the moment of the call,
  // in order, but none scheduled during the pass. Never sleeps, never moves a
  // virtual clock. Runs nothing after Quit. May dispatch (re-enter).
  virtual void DispatchPending() = 0;

  // Runs tasks as they fall due, sleeping in between, until nothing is left
  // to do (no task scheduled and no descriptor watched) or Quit is called.
  virtual void Run() = 0;

  // Ends the program's dispatching: Run returns, every Wait in progress
  // returns at once, and no further task runs. Cannot be undone.
  virtual void Quit() = 0;
  virtual bool Quitting() const = 0;

  // Calls `on_ready` (as a dispatched task, never inside this call) whenever
  // `fd` has data to read or has been closed by its peer. A loop that cannot
  // watch descriptors returns false. One watch per descriptor; watching it
  // again replaces the callback.
  virtual bool WatchReadable(int fd, Task on_ready) {
    (void)fd;
    (void)on_ready;
    return false;
  }
  // Likewise whenever `fd` can take more data (or is in error), for a
  // non-blocking connect or a write that would have blocked. Independent of
  // the readable watch; UnwatchWritable drops this one alone.
  virtual bool WatchWritable(int fd, Task on_ready) {
    (void)fd;
    (void)on_ready;
    return false;
  }
  virtual void UnwatchWritable(int fd) { (void)fd; }
  // Drops every watch on `fd`, readable and writable.
  virtual void Unwatch(int fd) { (void)fd; }
};

}  // namespace zorvik
