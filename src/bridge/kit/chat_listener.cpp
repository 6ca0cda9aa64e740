#include "bridge/kit/chat_listener.h"

#include <memory>
#include <utility>

namespace zorvik {

ChatListener::ChatListener(EventLoop& loop, RoomFeed& feed, Handler handler)
    : loop_(loop), feed_(feed), handler_(std::make_unique<Handler>(std::move(handler))) {
  // Most listeners are off most of the time: a feed skips them then, and
  // one that does not finds them refusing the line here.
  subscription_ =
      feed_.SubscribeWhile(on_, [this](const std::string& screen_name, const std::string& text) {
        if (on_) Queue(screen_name, text);
      });
}

ChatListener::~ChatListener() {
  // A handler that destroys its listener is still running: the delivery
  // that called it keeps it alive until it returns.
  if (running_ != nullptr) {
    running_->destroyed = true;
    running_->handler = std::move(handler_);
  }
  feed_.Unsubscribe(subscription_);
  // The report tasks still waiting would find the listener gone.
  for (std::size_t i = 0; i < count_; ++i) {
    loop_.Cancel(reports_[Wrap(first_ + i)].task);
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
      larger[i] = std::move(reports_[Wrap(first_ + i)]);
    }
    reports_ = std::move(larger);
    first_ = 0;
  }
  Report& report = reports_[Wrap(first_ + count_)];
  report.generation = generation_;
  report.screen_name.assign(screen_name);
  report.text.assign(text);
  ++count_;
  report.task = loop_.Post([this] { Deliver(); });
}

void ChatListener::Deliver() {
  Report& report = reports_[first_];
  first_ = Wrap(first_ + 1);
  --count_;
  // A report queued before a StopListening is dropped, even if the
  // listener has been switched on again since.
  if (!on_ || report.generation != generation_) return;
  // The line is handed over in strings of this call's own, so that it
  // outlives the listener if a handler destroys it; the slot takes the
  // spare buffers instead, for the reports the handler's own waits queue,
  // and the line's buffers are the spares once the handler is done.
  // Nothing is allocated once the buffers have grown.
  std::string screen_name = std::move(report.screen_name);
  std::string text = std::move(report.text);
  report.screen_name = std::move(spare_.screen_name);
  report.text = std::move(spare_.text);
  Delivery delivery;
  Delivery* const outer = running_;
  running_ = &delivery;
  Handler& handler = *handler_;
  handler(screen_name, text);
  if (delivery.destroyed) {
    // Gone: an outer delivery of this listener, if any, still runs the
    // handler and keeps it.
    if (outer != nullptr) {
      outer->destroyed = true;
      outer->handler = std::move(delivery.handler);
    }
    return;
  }
  running_ = outer;
  spare_.screen_name = std::move(screen_name);
  spare_.text = std::move(text);
}

}  // namespace zorvik
