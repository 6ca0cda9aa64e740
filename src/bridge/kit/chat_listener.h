// One chat listener: while it is on, every room line is reported to its
// handler as (screen name, text), in room order.
//
// Delivery rules the host relies on:
// - When a line appears, a report is queued on the event loop for this
//   listener if it is on at that moment, behind everything already due.
//   Listeners made earlier queue earlier, so Chat1 ... Chat5 report one line
//   in that order.
// - StopListening takes effect at once: a report queued before it and not
//   yet handled is dropped, even if the listener is switched on again.
// - Lines from before StartListening are never reported.
// Reports are ordinary loop tasks, so they are handled nested inside any
// wait of a handler that is running.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "bridge/loop/event_loop.h"
#include "bridge/room_feed.h"

namespace zorvik {

class ChatListener {
 public:
  using Handler = std::function<void(const std::string& screen_name, const std::string& what_said)>;

  // `loop` and `feed` must outlive the listener. The listener starts off.
  ChatListener(EventLoop& loop, RoomFeed& feed, Handler handler);
  ChatListener(const ChatListener&) = delete;
  ChatListener& operator=(const ChatListener&) = delete;
  ~ChatListener();

  // Neither call dispatches. Starting a listener that is on, or stopping one
  // that is off, changes nothing.
  void StartListening();
  void StopListening();
  bool listening() const { return on_; }

 private:
  // A line waiting for its report task. Reports are posted for now, so their
  // tasks run in the order they were queued: each takes the oldest report.
  struct Report {
    std::uint64_t generation = 0;
    EventLoop::TimerId task = 0;
    std::string screen_name;
    std::string text;
  };

  void Queue(const std::string& screen_name, const std::string& text);
  void Deliver();

  EventLoop& loop_;
  RoomFeed& feed_;
  // Shared with each delivery under way, so that a handler that destroys
  // its listener lives on until it returns.
  std::shared_ptr<const Handler> handler_;
  bool on_ = false;
  std::uint64_t generation_ = 0;  // advanced by every StopListening
  std::deque<Report> reports_;
  RoomFeed::SubscriptionId subscription_;
};

}  // namespace zorvik
