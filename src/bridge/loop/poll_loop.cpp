#include "bridge/loop/poll_loop.h"

#include <poll.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <ctime>
#include <vector>

namespace zorvik {

bool PollLoop::WatchReadable(int fd, Task on_ready) {
  Watch& watch = watches_[fd];
  watch.on_readable = std::move(on_ready);
  watch.read_generation = ++last_generation_;
  return true;
}

bool PollLoop::WatchWritable(int fd, Task on_ready) {
  Watch& watch = watches_[fd];
  watch.on_writable = std::move(on_ready);
  watch.write_generation = ++last_generation_;
  return true;
}

void PollLoop::UnwatchWritable(int fd) {
  auto found = watches_.find(fd);
  if (found == watches_.end()) return;
  found->second.on_writable = nullptr;
  found->second.write_generation = 0;
  if (!found->second.on_readable) watches_.erase(found);
}

void PollLoop::Unwatch(int fd) {
  watches_.erase(fd);
}

void PollLoop::WaitUntil(const std::function<bool()>& done) {
  while (!Quitting() && !done()) {
    RunDueTasks(kNever);
    if (Quitting() || done()) return;
    Sleep(NextDue());
  }
}

void PollLoop::Sleep(Micros until) {
  struct Polled {
    std::uint64_t read_generation;
    std::uint64_t write_generation;
  };
  std::vector<pollfd> polled;
  std::vector<Polled> generations;
  for (const auto& [fd, watch] : watches_) {
    short events = 0;
    if (watch.on_readable) events |= POLLIN;
    if (watch.on_writable) events |= POLLOUT;
    polled.push_back(pollfd{fd, events, 0});
    generations.push_back(Polled{watch.read_generation, watch.write_generation});
  }
  timespec timeout{};
  timespec* timeout_or_forever = nullptr;
  Micros meant_end = kNever;
  if (until != kNever) {
    // ppoll never returns before its timeout, Now() rounds down and the
    // steady length rounds up, so after this sleep the clock has reached
    // `until`: no spinning on the last fraction of a millisecond.
    const Micros now = Now();
    meant_end = std::max(until, now);
    const Micros remaining = SteadyLength(meant_end - now);
    if (remaining == 0 && polled.empty()) return;
    timeout.tv_sec = static_cast<std::time_t>(remaining / kMicrosPerSecond);
    timeout.tv_nsec = static_cast<long>(remaining % kMicrosPerSecond * 1000);
    timeout_or_forever = &timeout;
  }
  const int ready = ppoll(polled.data(), polled.size(), timeout_or_forever, nullptr);
  if (meant_end != kNever) HoldLateness(meant_end);
  if (ready <= 0) {
    assert(ready == 0 || errno == EINTR || errno == ENOMEM);
    return;
  }
  for (std::size_t i = 0; i < polled.size(); ++i) {
    if (Quitting()) return;
    const short revents = polled[i].revents;
    if (revents == 0) continue;
    if (revents & POLLNVAL) {
      // Closed while watched: it would be reported on every poll forever.
      auto found = watches_.find(polled[i].fd);
      if (found != watches_.end() &&
          found->second.read_generation == generations[i].read_generation &&
          found->second.write_generation == generations[i].write_generation) {
        watches_.erase(found);
      }
      continue;
    }
    // An earlier callback (or the readable one of this descriptor) may have
    // unwatched or replaced a watch; each callback is a copy, since it may
    // unwatch itself.
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
      auto found = watches_.find(polled[i].fd);
      if (found != watches_.end() && found->second.on_readable &&
          found->second.read_generation == generations[i].read_generation) {
        Task on_ready = found->second.on_readable;
        on_ready();
      }
    }
    if (Quitting()) return;
    if (revents & (POLLOUT | POLLHUP | POLLERR)) {
      auto found = watches_.find(polled[i].fd);
      if (found != watches_.end() && found->second.on_writable &&
          found->second.write_generation == generations[i].write_generation) {
        Task on_ready = found->second.on_writable;
        on_ready();
      }
    }
  }
}

}  // namespace zorvik
