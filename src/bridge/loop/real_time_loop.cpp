#include "bridge/loop/real_time_loop.h"

#include <algorithm>
#include <cassert>

namespace zorvik {

RealTimeLoop::RealTimeLoop(int speed) : start_(std::chrono::steady_clock::now()), speed_(speed) {
  assert(speed >= 1);
}

Micros RealTimeLoop::Now() const {
  // Whole steady microseconds first, so that the clock only rounds down.
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start_)
                 .count() *
             speed_ -
         held_;
}

void RealTimeLoop::HoldLateness(Micros meant_end) {
  const Micros late = Now() - meant_end;
  if (late > 0) held_ += late - late / speed_;
}

EventLoop::TimerId RealTimeLoop::ScheduleAt(Micros due, Task task) {
  return tasks_.Add(due, std::move(task));
}

void RealTimeLoop::Cancel(TimerId id) {
  tasks_.Cancel(id);
}

void RealTimeLoop::RunDueTasks(Micros end) {
  // The pass is fixed when it starts, so a task that keeps posting tasks
  // cannot keep the event sources from being looked at.
  const Micros now = Now();
  const TimerId newest = tasks_.LastId();
  for (;;) {
    // Tasks of the pass that a nested wait ran or that were cancelled are
    // gone; each is taken out before it runs because it may re-enter the
    // loop.
    std::optional<Task> task = tasks_.TakeDue(now, end, newest);
    if (!task) return;
    (*task)();
    // A long task or a nested wait may have carried the clock to the end.
    if (quitting_ || Now() >= end) return;
  }
}

void RealTimeLoop::Wait(Micros length) {
  if (length <= 0 || quitting_) return;
  const Micros start = Now();
  const Micros end = length >= kNever - start ? kNever : start + length;
  for (;;) {
    RunDueTasks(end);
    if (quitting_ || Now() >= end) return;
    Sleep(std::min(NextDue(), end));
    if (quitting_ || Now() >= end) return;
  }
}

void RealTimeLoop::DispatchPending() {
  if (quitting_) return;
  RunDueTasks(kNever);
  if (quitting_) return;
  HandlePendingEvents();
}

void RealTimeLoop::Run() {
  while (!quitting_) {
    RunDueTasks(kNever);
    if (quitting_ || (tasks_.empty() && !ExpectsEvents())) return;
    Sleep(NextDue());
  }
}

}  // namespace zorvik
