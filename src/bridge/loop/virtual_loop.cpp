#include "bridge/loop/virtual_loop.h"

#include <limits>

namespace zorvik {

EventLoop::TimerId VirtualLoop::ScheduleAt(Micros due, Task task) {
  return tasks_.Add(due, std::move(task));
}

void VirtualLoop::Cancel(TimerId id) {
  tasks_.Cancel(id);
}

EventLoop::TimerId VirtualLoop::ReserveOrder(std::uint64_t count) {
  return tasks_.Reserve(count);
}

void VirtualLoop::ScheduleReserved(Micros due, TimerId id, Task task) {
  tasks_.AddReserved(due, id, std::move(task));
}

void VirtualLoop::RunFirst() {
  // Taken out before it runs: it may schedule, cancel or wait, and a nested
  // wait must not see it again.
  const Micros due = tasks_.First().first;
  Task task = tasks_.TakeFirst();
  if (due > now_) now_ = due;
  task();
}

void VirtualLoop::Wait(Micros length) {
  if (length <= 0 || quitting_) return;
  // Saturate rather than overflow on absurd lengths.
  const Micros end = length > std::numeric_limits<Micros>::max() - now_
                         ? std::numeric_limits<Micros>::max()
                         : now_ + length;
  while (!quitting_ && now_ < end && !tasks_.empty() && tasks_.First().first < end) {
    RunFirst();
  }
  // After Quit the clock stays where the last task left it: nothing more
  // happens in this program, so there is no end to reach.
  if (!quitting_ && now_ < end) now_ = end;
}

void VirtualLoop::DispatchPending() {
  if (quitting_) return;
  // The pass is fixed when it starts: tasks scheduled by the tasks it runs
  // wait for the next pass, even if they are due now or earlier.
  const Micros now = now_;
  const TimerId newest = tasks_.LastId();
  while (!quitting_) {
    std::optional<Task> task = tasks_.TakeDue(now, std::numeric_limits<Micros>::max(), newest);
    if (!task) return;
    (*task)();
  }
}

void VirtualLoop::Run() {
  while (!quitting_ && !tasks_.empty()) RunFirst();
}

}  // namespace zorvik
