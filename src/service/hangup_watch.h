// SIGHUP (`systemctl reload`) as an event of the loop.
#pragma once

#include <functional>

#include "bridge/loop/event_loop.h"

namespace zorvik {

// Calls `on_hangup` from `loop`'s dispatch each time the process gets
// SIGHUP; the signal handler itself only wakes the loop. One watch at a
// time; the signal's previous handling returns when the watch goes.
// `loop` must outlive the watch.
class HangupWatch {
 public:
  HangupWatch(EventLoop& loop, std::function<void()> on_hangup);
  ~HangupWatch();
  HangupWatch(const HangupWatch&) = delete;
  HangupWatch& operator=(const HangupWatch&) = delete;

  // False when the signal could not be watched (no pipe, another watch).
  bool watching() const { return watching_; }

 private:
  void Drain();

  EventLoop& loop_;
  std::function<void()> on_hangup_;
  bool watching_ = false;
};

}  // namespace zorvik
