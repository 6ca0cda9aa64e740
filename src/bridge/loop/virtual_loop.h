// The event loop on virtual time, for tests and replay.
//
// The clock counts whole microseconds from 0 and moves only when the loop
// moves it: a Wait jumps it to each task that falls due before the wait's end
// and finally to the end itself; Run jumps it to the next task. Nothing here
// reads the system clock or sleeps, so the same tasks scheduled at the same
// times run in the same order on every run — that is what makes replay
// transcripts byte-exact (REPLAY.md, "Timing rules").
//
// Every call that runs tasks (Wait, DispatchPending, Run) may dispatch
// (re-enter): a task may schedule, cancel, wait and quit. No descriptors can
// be watched (WatchReadable returns false).
#pragma once

#include "bridge/loop/event_loop.h"
#include "bridge/loop/task_queue.h"

namespace zorvik {

class VirtualLoop : public EventLoop {
 public:
  VirtualLoop() = default;

  Micros Now() const override { return now_; }
  TimerId ScheduleAt(Micros due, Task task) override;
  void Cancel(TimerId id) override;

  // Runs, one at a time, each task due strictly before Now() + length, moving
  // the clock to its due time first (never back). Returns when the next task
  // is due at or after the end — with the clock at the end — or at once when
  // a nested wait has already carried the clock to or past the end.
  void Wait(Micros length) override;

  // Runs the tasks due at or before Now() that were scheduled before the
  // call, in order. A task that a nested wait has already run (or that was
  // cancelled meanwhile) is not run again. Never moves the clock itself.
  void DispatchPending() override;

  // Runs the earliest task, jumping the clock to it, until none is left.
  void Run() override;

  void Quit() override { quitting_ = true; }
  bool Quitting() const override { return quitting_; }

  // Sets aside `count` scheduling numbers, from the returned one up, for
  // tasks handed over later with ScheduleReserved: each runs as if it had
  // been scheduled now. A replay feeds its script this way, a little at a
  // time, in the order it would have had scheduled whole.
  TimerId ReserveOrder(std::uint64_t count);
  // Schedules `task` under a number from ReserveOrder (each used once). It
  // must be scheduled before the clock could pass `due`.
  void ScheduleReserved(Micros due, TimerId id, Task task);

  // Number of tasks scheduled and neither run nor cancelled yet.
  std::size_t PendingCount() const { return tasks_.size(); }

 private:
  // Removes the first task and runs it, the clock first moved to its due
  // time if that is later. Precondition: a task is scheduled.
  void RunFirst();

  Micros now_ = 0;
  bool quitting_ = false;
  TaskQueue tasks_;
};

}  // namespace zorvik
