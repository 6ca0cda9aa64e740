// What the real-time loops share: the monotonic clock, the task queue, and
// the shape of every wait (run what is due, then sleep until the next task
// or the end, whichever comes first). A realisation supplies only how to
// sleep and how to look at its event sources without sleeping: PollLoop in
// ppoll(), FltkLoop in the toolkit's Fl::wait.
//
// Every call that runs tasks (Wait, DispatchPending, Run) may dispatch
// (re-enter): a task may schedule, cancel, wait and quit. No threads: every
// call, Quit included, belongs to the loop's own thread.
#pragma once

#include <chrono>
#include <cstdint>

#include "bridge/loop/event_loop.h"
#include "bridge/loop/task_queue.h"

namespace zorvik {

class RealTimeLoop : public EventLoop {
 public:
  // With `speed` N (1 or more), the loop's clock runs N times faster than
  // the steady clock, so every timer and every wait takes an Nth of its
  // length in real time and nothing else changes: the order of tasks and
  // events, and every length the program asks for, stay what they are.
  explicit RealTimeLoop(int speed = 1);

  // Microseconds since the loop was made, read from std::chrono's
  // steady_clock (monotonic, unaffected by changes of the time of day),
  // multiplied by the speed, less what HoldLateness took off.
  Micros Now() const final;
  TimerId ScheduleAt(Micros due, Task task) final;
  void Cancel(TimerId id) final;

  // Runs due tasks and the event sources' callbacks until the clock reaches
  // Now() + length, sleeping whenever nothing is due. Tasks due at or after
  // the end are left for later. Returns at once when the clock has reached
  // the end after a task (a long task or a nested wait may overshoot it).
  void Wait(Micros length) final;

  // Runs the tasks due at the call that were scheduled before it, in order,
  // then handles what the event sources have pending. Never sleeps.
  void DispatchPending() final;

  // Dispatches, sleeping in between, until Quit, or until no task is
  // scheduled and the event sources have nothing left to wait for.
  void Run() final;

  void Quit() final { quitting_ = true; }
  bool Quitting() const final { return quitting_; }

 protected:
  static constexpr Micros kNever = INT64_MAX;

  // Sleeps until an event source has something or the clock reaches `until`
  // (kNever: no deadline), then handles what it has. Must not return early
  // for nothing, or the caller would spin on the last stretch of a wait.
  virtual void Sleep(Micros until) = 0;
  // Handles what the event sources have pending, without sleeping.
  virtual void HandlePendingEvents() = 0;
  // Whether an event source may still bring work when no task is left.
  virtual bool ExpectsEvents() const = 0;

  // Runs the tasks due at the call, scheduled before it and due before
  // `end`, in order; stops early once the clock reaches `end` or on Quit.
  void RunDueTasks(Micros end);
  // The due time of the next task, or kNever.
  Micros NextDue() const { return tasks_.empty() ? kNever : tasks_.First().first; }
  // How long to sleep on the steady clock, in whole microseconds, for the
  // loop's clock to advance by `length` (rounded up, so that it does).
  Micros SteadyLength(Micros length) const {
    return length / speed_ + (length % speed_ > 0 ? 1 : 0);
  }
  // Called by Sleep as soon as it wakes, before anything reads the clock,
  // with the time it meant to wake at (not before the clock at its start).
  // A busy machine wakes a sleep late; at speed N the loop's clock would
  // count that lateness N times over, so that a task due during a wait
  // could miss it by seconds and a sped-up match play differently. The
  // clock keeps one share: the lateness the same wake-up has at speed 1.
  // It never goes back, and at speed 1 nothing changes.
  void HoldLateness(Micros meant_end);

 private:
  const std::chrono::steady_clock::time_point start_;
  const Micros speed_;
  Micros held_ = 0;  // taken off the sped-up clock by HoldLateness
  bool quitting_ = false;
  TaskQueue tasks_;
};

}  // namespace zorvik
