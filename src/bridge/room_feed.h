// The room lines a chat client makes visible to the program: every line of
// the open chat room, in room order, as (screen name, text) pairs, the
// operator's own lines included.
#pragma once

#include <functional>
#include <string>

namespace zorvik {

class RoomFeed {
 public:
  using LineObserver = std::function<void(const std::string& screen_name, const std::string& text)>;
  using SubscriptionId = int;

  RoomFeed() = default;
  RoomFeed(const RoomFeed&) = delete;
  RoomFeed& operator=(const RoomFeed&) = delete;
  virtual ~RoomFeed() = default;

  // Observers are called synchronously, in subscription order, the moment a
  // line appears. An observer must not dispatch events or add lines; it may
  // schedule tasks.
  virtual SubscriptionId Subscribe(LineObserver observer) = 0;
  virtual void Unsubscribe(SubscriptionId id) = 0;
};

}  // namespace zorvik
