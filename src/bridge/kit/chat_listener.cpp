#include "bridge/kit/chat_listener.h"

#include <utility>

namespace zorvik {

ChatListener::ChatListener(EventLoop& loop, RoomFeed& feed, Handler handler)
    : loop_(loop), feed_(feed), handler_(std::move(handler)) {
  // Most listeners are off most of the time: that is decided right here.
  subscription_ = feed_.Subscribe([this](const std::string& screen_name, const std::string& text) {
    if (on_) Queue(screen_name, text);
  });
}

ChatListener::~ChatListener() {
  if (destroyed_ != nullptr) *destroyed_ = true;
  feed_.Unsubscribe(subscription_);
  // The report tasks still waiting would find the listener gone.
  for (std::size_t i = 0; i < count_; ++i) {
    loop_.Cancel(reports_[(first_ + i) % reports_.size()].task);
  }
}

void ChatListener::StartListening() {
  on_ = true;
}

void ChatListener::StopListening() {
  if (!on_) return;
  on_ = false;
  ++generation_;
}

void ChatListener::Queue(const std::string& screen_name, const std::string& text) {
  if (count_ == reports_.size()) {
    // Full: unroll the ring into a larger one, oldest first.
    std::vector<Report> larger(reports_.empty() ? 4 : reports_.size() * 2);
    for (std::size_t i = 0; i < count_; ++i) {
      larger[i] = std::move(reports_[(first_ + i) % reports_.size()]);
    }
    reports_ = std::move(larger);
    first_ = 0;
  }
  Report& report = reports_[(first_ + count_) % reports_.size()];
  report.generation = generation_;
  report.screen_name.assign(screen_name);
  report.text.assign(text);
  ++count_;
  report.task = loop_.Post([this] { Deliver(); });
}

void ChatListener::Deliver() {
  Report& report = reports_[first_];
  first_ = (first_ + 1) % reports_.size();
  --count_;
  // A report queued before a StopListening is dropped, even if the
  // listener has been switched on again since.
  if (!on_ || report.generation != generation_) return;
  // The line is handed over in strings of this call's own, so that it
  // outlives the listener if a handler destroys it; the slot takes the
  // spare buffers in exchange, for the reports the handler's own waits
  // queue, and the line's buffers are the spares once the handler is
  // done. Nothing is allocated once the buffers have grown. The handler is
  // copied in case the listener is destroyed while it runs.
  std::string screen_name;
  std::string text;
  screen_name.swap(report.screen_name);
  text.swap(report.text);
  report.screen_name.swap(spare_.screen_name);
  report.text.swap(spare_.text);
  bool destroyed = false;
  bool* const outer = destroyed_;
  destroyed_ = &destroyed;
  const Handler handler = handler_;
  handler(screen_name, text);
  if (destroyed) {
    if (outer != nullptr) *outer = true;
    return;
  }
  destroyed_ = outer;
  spare_.screen_name.swap(screen_name);
  spare_.text.swap(text);
}

}  // namespace zorvik
