#include "bridge/kit/chat_listener.h"

#include <utility>

namespace zorvik {

ChatListener::ChatListener(EventLoop& loop, RoomFeed& feed, Handler handler)
    : loop_(loop), feed_(feed), state_(std::make_shared<State>()) {
  state_->handler = std::move(handler);
  subscription_ = feed_.Subscribe([this](const std::string& screen_name, const std::string& text) {
    Queue(screen_name, text);
  });
}

ChatListener::~ChatListener() {
  feed_.Unsubscribe(subscription_);
  state_->on = false;
  ++state_->generation;
}

void ChatListener::StartListening() {
  state_->on = true;
}

void ChatListener::StopListening() {
  if (!state_->on) return;
  state_->on = false;
  ++state_->generation;
}

void ChatListener::Queue(const std::string& screen_name, const std::string& text) {
  if (!state_->on) return;
  std::weak_ptr<State> weak = state_;
  loop_.Post([weak, generation = state_->generation, screen_name, text] {
    auto state = weak.lock();
    if (!state || !state->on || state->generation != generation) return;
    // Copy the handler: it may replace itself while it runs.
    Handler handler = state->handler;
    handler(screen_name, text);
  });
}

}  // namespace zorvik
