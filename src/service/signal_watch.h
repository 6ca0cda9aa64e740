// A signal (SIGHUP for `systemctl reload`, SIGTERM and SIGINT for a stop) as
// an event of the loop.
#pragma once

#include <functional>

#include "bridge/loop/event_loop.h"

namespace zorvik {

// Calls `on_signal` from `loop`'s dispatch each time the process gets
// `signal` (several before the loop comes round are one call); the signal
// handler itself only wakes the loop. One watch per signal at a time; the
// signal's previous handling returns when the watch goes. `loop` must
// outlive the watch.
class SignalWatch {
 public:
  SignalWatch(EventLoop& loop, int signal, std::function<void()> on_signal);
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // False when the signal could not be watched (no pipe, another watch).
  bool watching() const { return slot_ != nullptr; }

  // A watched signal's pipe (signal_watch_posix.cpp).
  struct Slot;

 private:
  void Drain();

  EventLoop& loop_;
  std::function<void()> on_signal_;
  Slot* slot_ = nullptr;
};

}  // namespace zorvik
