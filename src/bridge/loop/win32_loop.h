// The event loop on Windows: the program's tasks, waitable handles and the
// thread's window messages, all waited for in one MsgWaitForMultipleObjectsEx.
//
// Tasks keep VirtualLoop's and PollLoop's order (by due time, then by order
// of scheduling) through the shared TaskQueue, and every wait has PollLoop's
// shape: run what is due, then sleep until the next task, a signalled
// handle, a window message or the wait's own end, whichever comes first.
// Nothing busy-waits. The clock is the monotonic one of RealTimeLoop, which
// this runtime reads from QueryPerformanceCounter.
//
// Window messages of the loop's thread (the program's own windows, messages
// posted to the thread) are dispatched in every sleep and in every
// DispatchPending, with the wide (UTF-16) functions, so that typing reaches
// the program's Unicode windows whole; a WM_QUIT quits the loop. Keyboard
// messages for a window added with AddDialogWindow go through its dialog
// navigation first (Tab, Shift+Tab, Enter, Space on a button).
//
// No threads: every call, Quit included, belongs to the loop's thread.
// Other threads reach the loop only by signalling a watched handle. Every
// call that runs tasks or callbacks (Wait, WaitUntil, DispatchPending, Run)
// may dispatch (re-enter): a task may schedule, cancel, watch, unwatch,
// wait and quit.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "bridge/loop/real_time_loop.h"

namespace zorvik {

class Win32Loop : public RealTimeLoop {
 public:
  // A HANDLE that can be waited for (an event, a process, a console input).
  using Handle = void*;
  // At most this many handles are watched at once (the wait's own limit,
  // less one for the message queue).
  static constexpr std::size_t kMaxHandles = 63;

  // Calls `on_signalled` from the loop's dispatch (never inside this call)
  // each time a sleep finds `handle` signalled; for a handle that stays
  // signalled (a manual-reset event, a process that has ended), again on
  // every sleep while that lasts, so it should reset or unwatch it. The loop
  // does not own `handle`. Watching it again replaces the callback. False
  // when kMaxHandles are watched already or `handle` is null.
  bool WatchHandle(Handle handle, Task on_signalled);
  void UnwatchHandle(Handle handle);

  // Gives the top-level window `window` (an HWND) dialog keyboard
  // navigation among its children, until it is removed. The loop does not
  // own it.
  void AddDialogWindow(Handle window);
  void RemoveDialogWindow(Handle window);

  // Dispatches like Run until `done()` is true (asked after every task pass
  // and every sleep) or Quit. For modal boxes: `done` must become true
  // through something the loop dispatches (a message, a task, a handle).
  void WaitUntil(const std::function<bool()>& done);

 private:
  struct Watch {
    Task on_signalled;
    std::uint64_t generation = 0;  // tells a replaced callback from the one waited for
  };

  // Sleeps until a watched handle is signalled, a window message arrives or
  // the clock reaches `until` (kNever: no deadline), then handles them.
  void Sleep(Micros until) override;
  // Handles signalled handles and pending messages without sleeping.
  void HandlePendingEvents() override { Sleep(0); }
  // Handles are events the loop may still bring; window messages alone do
  // not keep Run going (a program with windows quits through its handlers).
  bool ExpectsEvents() const override { return !watches_.empty(); }

  void DispatchMessages();

  std::uint64_t last_generation_ = 0;
  std::map<Handle, Watch> watches_;
  std::vector<Handle> dialogs_;
};

}  // namespace zorvik
