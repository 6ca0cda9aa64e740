#include "bridge/loop/fltk_loop.h"

#include <fcntl.h>

#include <FL/Fl.H>

#include <algorithm>
#include <cerrno>

namespace zorvik {

FltkLoop::~FltkLoop() {
  for (const auto& entry : watches_) Fl::remove_fd(entry.first);
}

bool FltkLoop::WatchReadable(int fd, Task on_ready) {
  if (fd < 0) return false;
  auto watch = std::make_unique<Watch>(Watch{this, fd, ++last_generation_, std::move(on_ready)});
  Fl::remove_fd(fd);
  Fl::add_fd(fd, FL_READ | FL_EXCEPT, &FltkLoop::OnReadable, watch.get());
  watches_[fd] = std::move(watch);
  return true;
}

void FltkLoop::Unwatch(int fd) {
  if (watches_.erase(fd) > 0) Fl::remove_fd(fd);
}

void FltkLoop::OnReadable(int, void* data) {
  Watch* watch = static_cast<Watch*>(data);
  watch->loop->ReportReadable(*watch);
}

void FltkLoop::ReportReadable(Watch& watch) {
  // Called inside Fl::wait: only queue the report. One report at a time,
  // so a descriptor that stays readable cannot flood the queue.
  if (watch.posted) return;
  watch.posted = true;
  const int fd = watch.fd;
  const std::uint64_t generation = watch.generation;
  Post([this, fd, generation] {
    auto found = watches_.find(fd);
    if (found == watches_.end() || found->second->generation != generation) return;
    found->second->posted = false;
    Task on_ready = found->second->on_ready;  // a copy: it may unwatch itself
    on_ready();
  });
}

void FltkLoop::Sleep(Micros until) {
  double seconds = 1e20;  // the toolkit's "forever"
  if (until != kNever) {
    // The toolkit truncates its timeout to whole microseconds; one more
    // microsecond makes sure the clock has reached `until` afterwards, so
    // the caller does not come back for a remainder of nothing.
    const Micros remaining = SteadyLength(std::max<Micros>(0, until - Now()));
    seconds = static_cast<double>(remaining + 1) / kMicrosPerSecond;
  }
  Fl::wait(seconds);
  if (!watches_.empty()) ForgetClosedDescriptors();
}

void FltkLoop::ForgetClosedDescriptors() {
  for (auto it = watches_.begin(); it != watches_.end();) {
    if (fcntl(it->first, F_GETFD) == -1 && errno == EBADF) {
      Fl::remove_fd(it->first);
      it = watches_.erase(it);
    } else {
      ++it;
    }
  }
}

void FltkLoop::HandlePendingEvents() {
  Fl::check();
  if (!watches_.empty()) ForgetClosedDescriptors();
}

bool FltkLoop::ExpectsEvents() const {
  return !watches_.empty() || Fl::first_window() != nullptr;
}

void FltkLoop::WaitUntil(const std::function<bool()>& done) {
  while (!Quitting() && !done()) {
    RunDueTasks(kNever);
    if (Quitting() || done()) return;
    Sleep(NextDue());
  }
}

}  // namespace zorvik
