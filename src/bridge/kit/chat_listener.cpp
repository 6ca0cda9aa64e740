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
    loop_.Cancel(reports_[Wrap(first_ + i)]->task);
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
    std::vector<std::unique_ptr<Report>> larger(reports_.empty() ? 4 : reports_.size() * 2);
    for (std::size_t i = 0; i < count_; ++i) larger[i] = std::move(reports_[Wrap(first_ + i)]);
    reports_ = std::move(larger);
    first_ = 0;
  }
  std::unique_ptr<Report>& place = reports_[Wrap(first_ + count_)];
  if (!place) {
    if (spares_.empty()) {
      place = std::make_unique<Report>();
    } else {
      place = std::move(spares_.back());
      spares_.pop_back();
    }
  }
  Report& report = *place;
  report.generation = generation_;
  report.screen_name.assign(screen_name);
  report.text.assign(text);
  ++count_;
  report.task = loop_.Post([this] { Deliver(); });
}

void ChatListener::Deliver() {
  std::unique_ptr<Report> report = std::move(reports_[first_]);
  first_ = Wrap(first_ + 1);
  --count_;
  // A report queued before a StopListening is dropped, even if the
  // listener has been switched on again since.
  if (!on_ || report->generation != generation_) {
    spares_.push_back(std::move(report));
    return;
  }
  Delivery delivery;
  Delivery* const outer = running_;
  running_ = &delivery;
  Handler& handler = *handler_;
  handler(report->screen_name, report->text);
  if (delivery.destroyed) {
    // Gone: an outer delivery of this listener, if any, still runs the
    // handler and keeps it. The report goes with this call.
    if (outer != nullptr) {
      outer->destroyed = true;
      outer->handler = std::move(delivery.handler);
    }
    return;
  }
  running_ = outer;
  spares_.push_back(std::move(report));
}

}  // namespace zorvik
