// The scheduled tasks of an event loop, in the order they run: by due time,
// then by the order they were scheduled. Shared by every loop so that the
// order, which transcripts depend on, is defined once.
//
// Built for tasks that come and go by the million: the order is a binary
// heap of small keys (O(log n) to add and take), and the tasks themselves
// live in slots that are reused, so that once warm, adding and taking a task
// allocates nothing beyond what the task's own function object needs.
// Cancel searches the heap: it is for the odd timer, not for bulk use.
#pragma once

#include <cstdint>
#include <optional>
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

  // Sets aside the next `count` scheduling numbers and returns the first:
  // tasks added later with AddReserved under them sort as if they had been
  // scheduled now.
  EventLoop::TimerId Reserve(std::uint64_t count);
  // Adds a task under a number from Reserve, each number used once.
  void AddReserved(Micros due, EventLoop::TimerId id, EventLoop::Task task);

  bool empty() const { return heap_.empty(); }
  std::size_t size() const { return heap_.size(); }
  // The first task's key. Precondition: not empty.
  Key First() const { return {heap_.front().due, heap_.front().id}; }
  // The newest scheduling number handed out so far.
  EventLoop::TimerId LastId() const { return last_id_; }

  // Removes the first task and hands it over. Precondition: not empty. Take
  // before running: the task may re-enter the loop.
  EventLoop::Task TakeFirst();

  // One step of a dispatch pass: removes and hands over the first task due
  // at or before `now` and before `end` among those numbered up to `newest`
  // (the tasks that were there when the pass began), or nothing when none
  // is left (run by a nested wait, cancelled, or never there).
  std::optional<EventLoop::Task> TakeDue(Micros now, Micros end, EventLoop::TimerId newest);

 private:
  struct Entry {
    Micros due;
    EventLoop::TimerId id;
    std::uint32_t slot;
  };

  void Insert(Micros due, EventLoop::TimerId id, EventLoop::Task&& task);

  EventLoop::TimerId last_id_ = 0;
  std::vector<Entry> heap_;  // a min-heap by (due, id)
  std::vector<EventLoop::Task> slots_;
  std::vector<std::uint32_t> free_slots_;
};

}  // namespace zorvik
