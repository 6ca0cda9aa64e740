#include "bridge/loop/task_queue.h"

namespace zorvik {

EventLoop::TimerId TaskQueue::Add(Micros due, EventLoop::Task task) {
  const EventLoop::TimerId id = ++last_id_;
  tasks_.emplace(Key{due, id}, std::move(task));
  due_by_id_.emplace(id, due);
  return id;
}

void TaskQueue::Cancel(EventLoop::TimerId id) {
  auto found = due_by_id_.find(id);
  if (found == due_by_id_.end()) return;
  tasks_.erase(Key{found->second, id});
  due_by_id_.erase(found);
}

std::vector<TaskQueue::Key> TaskQueue::DueBy(Micros now, Micros end) const {
  std::vector<Key> due;
  for (const auto& entry : tasks_) {
    const Micros at = entry.first.first;
    if (at > now || at >= end) break;
    due.push_back(entry.first);
  }
  return due;
}

std::optional<EventLoop::Task> TaskQueue::Take(Key key) {
  auto found = tasks_.find(key);
  if (found == tasks_.end()) return std::nullopt;
  EventLoop::Task task = std::move(found->second);
  tasks_.erase(found);
  due_by_id_.erase(key.second);
  return task;
}

}  // namespace zorvik
