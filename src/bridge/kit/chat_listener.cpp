#include "bridge/kit/chat_listener.h"

#include <memory>
#include <utility>

namespace zorvik {

ChatListener::ChatListener(EventLoop& loop, RoomFeed& feed, Handler handler)
    : loop_(loop), feed_(feed), handler_(std::make_shared<const Handler>(std::move(handler))) {
  subscription_ = feed_.Subscribe([this](const std::string& screen_name, const std::string& text) {
    if (on_) Queue(screen_name, text);
  });
}

ChatListener::~ChatListener() {
  feed_.Unsubscribe(subscription_);
  // The report tasks still waiting would find the listener gone.
  for (const Report& report : reports_) loop_.Cancel(report.task);
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
  reports_.push_back(Report{generation_, 0, screen_name, text});
  reports_.back().task = loop_.Post([this] { Deliver(); });
}

void ChatListener::Deliver() {
  // Taken out first: the handler's waits may queue more reports, and the
  // handler may destroy the listener. Nothing here touches the listener
  // once the handler has been called.
  const Report report = std::move(reports_.front());
  reports_.pop_front();
  // A report queued before a StopListening is dropped, even if the
  // listener has been switched on again since.
  if (!on_ || report.generation != generation_) return;
  const std::shared_ptr<const Handler> handler = handler_;
  (*handler)(report.screen_name, report.text);
}

}  // namespace zorvik
