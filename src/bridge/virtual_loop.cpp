#include "bridge/virtual_loop.h"

#include <limits>

namespace zorvik {

EventLoop::TimerId VirtualLoop::ScheduleAt(Micros due, Task task) {
  const TimerId id = ++last_id_;
  tasks_.emplace(Key{due, id}, std::move(task));
  due_by_id_.emplace(id, due);
  return id;
}

void VirtualLoop::Cancel(TimerId id) {
  auto found = due_by_id_.find(id);
  if (found == due_by_id_.end()) return;  // unknown, already run or running
  tasks_.erase(Key{found->second, id});
  due_by_id_.erase(found);
}

bool VirtualLoop::RunTask(Key key) {
  auto found = tasks_.find(key);
  if (found == tasks_.end()) return false;
  // Take the task out before running it: it may schedule, cancel or wait,
  // and a nested wait must not see it again.
  Task task = std::move(found->second);
  tasks_.erase(found);
  due_by_id_.erase(key.second);
  if (key.first > now_) now_ = key.first;
  task();
  return true;
}

void VirtualLoop::Wait(Micros length) {
  if (length <= 0 || quitting_) return;
  // Saturate rather than overflow on absurd lengths.
  const Micros end = length > std::numeric_limits<Micros>::max() - now_
                         ? std::numeric_limits<Micros>::max()
                         : now_ + length;
  while (!quitting_ && now_ < end && !tasks_.empty() && tasks_.begin()->first.first < end) {
    RunTask(tasks_.begin()->first);
  }
  // After Quit the clock stays where the last task left it: nothing more
  // happens in this program, so there is no end to reach.
  if (!quitting_ && now_ < end) now_ = end;
}

void VirtualLoop::DispatchPending() {
  if (quitting_) return;
  // The pass is fixed when it starts: tasks scheduled by the tasks it runs
  // wait for the next pass, even if they are due now or earlier.
  std::vector<Key> due_now;
  for (const auto& [key, task] : tasks_) {
    if (key.first > now_) break;
    due_now.push_back(key);
  }
  for (const Key& key : due_now) {
    if (quitting_) return;
    RunTask(key);
  }
}

void VirtualLoop::Run() {
  while (!quitting_ && !tasks_.empty()) RunTask(tasks_.begin()->first);
}

}  // namespace zorvik
