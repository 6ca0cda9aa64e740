// The event loop of the desktop front end: the program's tasks on top of
// the toolkit's own dispatch (Fl::wait with a timeout, Fl::add_fd). Window
// events (clicks, typing, redraws) are handled by the toolkit inside every
// sleep; the program's tasks keep VirtualLoop's and PollLoop's order (by due
// time, then by order of scheduling) through the shared TaskQueue.
//
// Button callbacks post a task instead of running a handler themselves, so
// every handler runs from this loop's dispatch, never inside the toolkit's
// event handling. A handler that waits (Pause, ChatSend) sleeps in Fl::wait
// until its deadline or the next task, so the windows stay alive, clicks
// and typing are handled nested inside the wait, and nothing busy-waits.
//
// No threads: every call, Quit included, belongs to the loop's thread.
// Every call that runs tasks or callbacks (Wait, WaitUntil, DispatchPending,
// Run) may dispatch (re-enter): a task may schedule, cancel, watch, unwatch,
// wait and quit. The loop needs no display of its own: without windows it
// sleeps on its descriptors and timers only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "bridge/loop/real_time_loop.h"

namespace zorvik {

// Run ends when no task is scheduled, no descriptor is watched and no
// window is shown.
class FltkLoop : public RealTimeLoop {
 public:
  FltkLoop() = default;
  // Stops watching every descriptor still watched.
  ~FltkLoop() override;

  // Dispatches like Run until `done()` is true (it is asked after every
  // dispatch pass and every sleep) or Quit. For modal windows: `done` must
  // become true through something the loop dispatches (a click, a task).
  void WaitUntil(const std::function<bool()>& done);

  // `on_ready` runs as a task of this loop (never inside the toolkit's
  // callback, never inside this call) each time the toolkit finds `fd`
  // readable, hung up or in error, so it should read or Unwatch. The loop
  // does not own `fd`; a descriptor found closed while watched is forgotten.
  bool WatchReadable(int fd, Task on_ready) override;
  void Unwatch(int fd) override;

 private:
  struct Watch {
    FltkLoop* loop;
    int fd;
    std::uint64_t generation;  // tells a replaced watch from the one reported
    Task on_ready;
    bool posted = false;  // a report is queued and has not run yet
  };

  static void OnReadable(int fd, void* data);
  void ReportReadable(Watch& watch);

  // Sleeps in Fl::wait until a window event, a ready descriptor or the
  // clock reaching `until` (kNever: no deadline).
  void Sleep(Micros until) override;
  // Lets the toolkit handle what is pending without sleeping.
  void HandlePendingEvents() override;
  bool ExpectsEvents() const override;

  // Forgets watched descriptors that have been closed: the toolkit's select
  // would fail on them at once, for ever.
  void ForgetClosedDescriptors();

  std::uint64_t last_generation_ = 0;
  std::map<int, std::unique_ptr<Watch>> watches_;
};

}  // namespace zorvik
