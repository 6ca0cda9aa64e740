#include "bridge/loop/task_queue.h"

#include <algorithm>
#include <limits>

namespace zorvik {

namespace {

template <typename Entry>
bool Later(const Entry& a, const Entry& b) {
  return a.due != b.due ? a.due > b.due : a.id > b.id;
}

}  // namespace

EventLoop::TimerId TaskQueue::Add(Micros due, EventLoop::Task task) {
  const EventLoop::TimerId id = ++last_id_;
  Insert(due, id, std::move(task));
  return id;
}

EventLoop::TimerId TaskQueue::Reserve(std::uint64_t count) {
  const EventLoop::TimerId first = last_id_ + 1;
  last_id_ += count;
  return first;
}

void TaskQueue::AddReserved(Micros due, EventLoop::TimerId id, EventLoop::Task task) {
  Insert(due, id, std::move(task));
}

void TaskQueue::Insert(Micros due, EventLoop::TimerId id, EventLoop::Task&& task) {
  std::uint32_t slot;
  if (free_slots_.empty()) {
    slot = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back(std::move(task));
  } else {
    slot = free_slots_.back();
    free_slots_.pop_back();
    slots_[slot] = std::move(task);
  }
  heap_.push_back(Entry{due, id, slot});
  std::push_heap(heap_.begin(), heap_.end(), Later<Entry>);
}

void TaskQueue::Cancel(EventLoop::TimerId id) {
  const auto found = std::find_if(heap_.begin(), heap_.end(),
                                  [id](const Entry& entry) { return entry.id == id; });
  if (found == heap_.end()) return;
  // Moved to the top by giving it the earliest key there is, then popped.
  found->due = std::numeric_limits<Micros>::min();
  std::push_heap(heap_.begin(), found + 1, Later<Entry>);
  TakeFirst();
}

EventLoop::Task TaskQueue::TakeFirst() {
  std::pop_heap(heap_.begin(), heap_.end(), Later<Entry>);
  const std::uint32_t slot = heap_.back().slot;
  heap_.pop_back();
  EventLoop::Task task = std::move(slots_[slot]);
  slots_[slot] = nullptr;
  free_slots_.push_back(slot);
  return task;
}

std::optional<EventLoop::Task> TaskQueue::TakeDue(Micros now, Micros end,
                                                  EventLoop::TimerId newest) {
  // Tasks scheduled during the pass can sort before the pass's own (a due
  // time in the past): set them aside until the first of the pass is found.
  std::optional<EventLoop::Task> taken;
  std::vector<Entry> skipped;
  while (!heap_.empty()) {
    const Entry first = heap_.front();
    if (first.due > now || first.due >= end) break;
    if (first.id <= newest) {
      taken = TakeFirst();
      break;
    }
    std::pop_heap(heap_.begin(), heap_.end(), Later<Entry>);
    heap_.pop_back();
    skipped.push_back(first);
  }
  for (const Entry& entry : skipped) {
    heap_.push_back(entry);
    std::push_heap(heap_.begin(), heap_.end(), Later<Entry>);
  }
  return taken;
}

}  // namespace zorvik
