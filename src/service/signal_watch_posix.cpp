#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

#include "service/signal_watch.h"

namespace zorvik {

// Signal handlers are process-wide, and so are these pipes, one a watched
// signal: the handler's only work is a byte into its pipe, which the loop
// then reads.
struct SignalWatch::Slot {
  int signal = 0;  // 0: free
  int pipe[2] = {-1, -1};
  struct sigaction old_action {};
};

namespace {

std::array<SignalWatch::Slot, 4> slots;

void OnSignal(int signal) {
  const int saved = errno;
  for (const SignalWatch::Slot& slot : slots) {
    if (slot.signal != signal) continue;
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = write(slot.pipe[1], &byte, 1);
  }
  errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(EventLoop& loop, int signal, std::function<void()> on_signal)
    : loop_(loop), on_signal_(std::move(on_signal)) {
  Slot* free = nullptr;
  for (Slot& slot : slots) {
    if (slot.signal == signal) return;
    if (slot.signal == 0 && !free) free = &slot;
  }
  if (!free || pipe2(free->pipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
  if (!loop_.WatchReadable(free->pipe[0], [this] { Drain(); })) {
    close(free->pipe[0]);
    close(free->pipe[1]);
    free->pipe[0] = free->pipe[1] = -1;
    return;
  }
  free->signal = signal;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, &free->old_action);
  slot_ = free;
}

SignalWatch::~SignalWatch() {
  if (!slot_) return;
  sigaction(slot_->signal, &slot_->old_action, nullptr);
  loop_.Unwatch(slot_->pipe[0]);
  close(slot_->pipe[0]);
  close(slot_->pipe[1]);
  *slot_ = Slot{};
}

void SignalWatch::Drain() {
  char bytes[64];
  bool any = false;
  while (read(slot_->pipe[0], bytes, sizeof bytes) > 0) any = true;
  if (any && on_signal_) on_signal_();
}

}  // namespace zorvik
