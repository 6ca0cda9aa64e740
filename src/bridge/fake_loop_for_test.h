// TEST FAKE, for the bridge tests only: a minimal virtual-time event loop.
// It stands in until the real VirtualLoop is available and keeps to the
// contract of event_loop.h: the clock starts at 0 and only moves in Wait
// and Run, tasks run in (due, scheduling order), Wait returns at its end
// before tasks due at that very moment, DispatchPending runs only what was
// due when it started. Not for production use; do not grow it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "bridge/event_loop.h"

namespace zorvik {
namespace {

class FakeLoop : public EventLoop {
 public:
  Micros Now() const override { return now_; }

  TimerId ScheduleAt(Micros due, Task task) override {
    const TimerId id = next_id_++;
    tasks_.emplace(Key{due, id}, std::move(task));
    return id;
  }

  void Cancel(TimerId id) override {
    for (auto it = tasks_.begin(); it != tasks_.end(); ++it) {
      if (it->first.second == id) {
        tasks_.erase(it);
        return;
      }
    }
  }

  void Wait(Micros length) override {
    if (length <= 0 || quitting_) return;
    const Micros end = now_ + length;
    while (!quitting_ && !tasks_.empty() && tasks_.begin()->first.first < end) {
      now_ = std::max(now_, tasks_.begin()->first.first);
      RunFirst(tasks_.begin());
    }
    if (!quitting_) now_ = std::max(now_, end);
  }

  void DispatchPending() override {
    const TimerId limit = next_id_;
    while (!quitting_) {
      auto it = tasks_.begin();
      while (it != tasks_.end() && it->first.first <= now_ && it->first.second >= limit) ++it;
      if (it == tasks_.end() || it->first.first > now_) return;
      RunFirst(it);
    }
  }

  void Run() override {
    while (!quitting_ && !tasks_.empty()) {
      now_ = std::max(now_, tasks_.begin()->first.first);
      RunFirst(tasks_.begin());
    }
  }

  void Quit() override { quitting_ = true; }
  bool Quitting() const override { return quitting_; }

 private:
  using Key = std::pair<Micros, TimerId>;  // (due, scheduling order)

  void RunFirst(std::map<Key, Task>::iterator it) {
    Task task = std::move(it->second);
    tasks_.erase(it);  // before running: the task may schedule or wait
    task();
  }

  Micros now_ = 0;
  TimerId next_id_ = 1;
  bool quitting_ = false;
  std::map<Key, Task> tasks_;
};

}  // namespace
}  // namespace zorvik
