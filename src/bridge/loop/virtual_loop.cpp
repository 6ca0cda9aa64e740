#include "bridge/loop/virtual_loop.h"

#include <limits>

namespace zorvik {

EventLoop::TimerId VirtualLoop::ScheduleAt(Micros due, Task task) {
  return tasks_.Add(due, std::move(task));
}

void VirtualLoop::Cancel(TimerId id) {
  tasks_.Cancel(id);
}

bool VirtualLoop::RunTask(Key key) {
  // Taken out before it runs: it may schedule, cancel or wait, and a nested
  // wait must not see it again.
  std::optional<Task> task = tasks_.Take(key);
  if (!task) return false;
  if (key.first > now_) now_ = key.first;
  (*task)();
  return true;
}

void VirtualLoop::Wait(Micros length) {
  if (length <= 0 || quitting_) return;
  // Saturate rather than overflow on absurd lengths.
  const Micros end = length > std::numeric_limits<Micros>::max() - now_
                         ? std::numeric_limits<Micros>::max()
                         : now_ + length;
  while (!quitting_ && now_ < end && !tasks_.empty() && tasks_.First().first < end) {
    RunTask(tasks_.First());
  }
  // After Quit the clock stays where the last task left it: nothing more
  // happens in this program, so there is no end to reach.
  if (!quitting_ && now_ < end) now_ = end;
}

void VirtualLoop::DispatchPending() {
  if (quitting_) return;
  // The pass is fixed when it starts: tasks scheduled by the tasks it runs
  // wait for the next pass, even if they are due now or earlier.
  for (const Key& key : tasks_.DueBy(now_, std::numeric_limits<Micros>::max())) {
    if (quitting_) return;
    RunTask(key);
  }
}

void VirtualLoop::Run() {
  while (!quitting_ && !tasks_.empty()) RunTask(tasks_.First());
}

}  // namespace zorvik
