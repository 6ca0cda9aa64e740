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
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
  // A line waiting for its report task. Reports are posted for now, so they
  // run in the order they were queued: each task takes the oldest report.
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
  // Apart, so that a handler that destroys its listener is not moved while
  // it runs.
  std::unique_ptr<Handler> handler_;
  bool on_ = false;
  std::uint64_t generation_ = 0;  // advanced by every StopListening
  // An index of the ring, taken round its end. The ring's size is a power of
  // two (it starts at 4 and doubles), so that is a mask, not a division.
  std::size_t Wrap(std::size_t index) const { return index & (reports_.size() - 1); }

  // A ring of reports, [first_, first_ + count_); a place that is empty
  // takes a spare when a line is queued there. A delivery takes its report
  // out of the ring whole and hands it to the handler, so the line stays
  // put (the ring may grow, and its places be reused, by the reports the
  // handler's own waits queue) and nothing is copied; the report is a spare
  // afterwards, its buffers kept. Nothing is allocated once these have grown.
  std::vector<std::unique_ptr<Report>> reports_;
  std::size_t first_ = 0;
  std::size_t count_ = 0;
  std::vector<std::unique_ptr<Report>> spares_;
  // A delivery under way. The destructor marks it and hands it the
  // handler, so the delivery that called the handler leaves the listener
  // alone afterwards and the handler lives until it returns.
  struct Delivery {
    bool destroyed = false;
    std::unique_ptr<Handler> handler;
  };
  Delivery* running_ = nullptr;
  RoomFeed::SubscriptionId subscription_;
};

}  // namespace zorvik
