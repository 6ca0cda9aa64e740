// The scheduled tasks of an event loop, in the order they run: by due time,
// then by the order they were scheduled. Shared by every loop so that the
// order, which transcripts depend on, is defined once.
#pragma once

#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bridge/loop/event_loop.h"

namespace zorvik {

class TaskQueue {
 public:
  // Tasks sort by (due time, scheduling number); the number is the task's id.
  using Key = std::pair<Micros, EventLoop::TimerId>;

  EventLoop::TimerId Add(Micros due, EventLoop::Task task);
  // Forgets a task that has not been taken; unknown ids are ignored.
  void Cancel(EventLoop::TimerId id);

  bool empty() const { return tasks_.empty(); }
  std::size_t size() const { return tasks_.size(); }
  // The first task's key. Precondition: not empty.
  Key First() const { return tasks_.begin()->first; }

  // The keys of the tasks due at or before `now` and before `end`, in order:
  // one dispatch pass, fixed before any of it runs.
  std::vector<Key> DueBy(Micros now, Micros end) const;

  // Removes the task under `key` and hands it over, or nothing when it is
  // gone (run by a nested wait, or cancelled). Take before running: the
  // task may re-enter the loop.
  std::optional<EventLoop::Task> Take(Key key);

 private:
  EventLoop::TimerId last_id_ = 0;
  std::map<Key, EventLoop::Task> tasks_;
  std::unordered_map<EventLoop::TimerId, Micros> due_by_id_;  // for Cancel
};

}  // namespace zorvik
