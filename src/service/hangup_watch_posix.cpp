#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "service/hangup_watch.h"

namespace zorvik {

namespace {

// Signal handlers are process-wide, and so is this pipe: the handler's only
// work is a byte into it, which the loop then reads.
int hangup_pipe[2] = {-1, -1};
struct sigaction old_action {};

void OnHangup(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up.
  [[maybe_unused]] const ssize_t written = write(hangup_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

HangupWatch::HangupWatch(EventLoop& loop, std::function<void()> on_hangup)
    : loop_(loop), on_hangup_(std::move(on_hangup)) {
  if (hangup_pipe[0] >= 0 || pipe2(hangup_pipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
  if (!loop_.WatchReadable(hangup_pipe[0], [this] { Drain(); })) {
    close(hangup_pipe[0]);
    close(hangup_pipe[1]);
    hangup_pipe[0] = hangup_pipe[1] = -1;
    return;
  }
  struct sigaction action {};
  action.sa_handler = OnHangup;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGHUP, &action, &old_action);
  watching_ = true;
}

HangupWatch::~HangupWatch() {
  if (!watching_) return;
  sigaction(SIGHUP, &old_action, nullptr);
  loop_.Unwatch(hangup_pipe[0]);
  close(hangup_pipe[0]);
  close(hangup_pipe[1]);
  hangup_pipe[0] = hangup_pipe[1] = -1;
}

void HangupWatch::Drain() {
  char bytes[64];
  bool any = false;
  while (read(hangup_pipe[0], bytes, sizeof bytes) > 0) any = true;
  // Several signals before the loop came round are one reread.
  if (any && on_hangup_) on_hangup_();
}

}  // namespace zorvik
