// The room as the desktop client shows it: a RoomFeed that reads the room's
// history view on a timer of the loop and reports the lines added since the
// last read, in order, the operator's own lines included.
//
// Every kReadInterval the feed finds the room afresh (ClientKit::FindRoom,
// so another "AOL Child" in front hides it), finds its history view (its
// first "RICHCNTL") and reads the view's text with WM_GETTEXTLENGTH and
// WM_GETTEXT sent with a time-out: another program's control does not give
// its contents to GetWindowText, and a client that has stopped answering
// must not hang the host. The lines that were in the room when the feed
// first saw it are never reported; neither is the history of a room that
// replaces it (a new room in front, the client restarted): that history is
// learnt, and only the lines added to it are reported. A room hidden for a
// while and then in front again is the same room: the lines said meanwhile
// are reported when it is read again.
//
// The timer is a task of the loop, so reports come from the loop's
// dispatch, nested inside any wait of a running handler; it keeps the loop
// running until the loop quits.
#pragma once

#include <map>
#include <string>

#include "bridge/kit/client_kit.h"
#include "bridge/kit/room_history.h"
#include "bridge/loop/event_loop.h"
#include "bridge/room_feed.h"

namespace zorvik {

class Win32RoomFeed : public RoomFeed {
 public:
  static constexpr Micros kReadInterval = 100'000;
  static constexpr unsigned kReadTimeoutMs = 500;
  // A history view longer than this is read only up to this length.
  static constexpr std::size_t kLongestHistory = 16 * 1024 * 1024;

  // Starts reading at once. `loop` and `kit` must outlive the feed.
  Win32RoomFeed(EventLoop& loop, ClientKit& kit);
  ~Win32RoomFeed() override;

  SubscriptionId Subscribe(LineObserver observer) override;
  void Unsubscribe(SubscriptionId id) override;

  // Reads the room once now, reporting what was added. Does not dispatch.
  void ReadRoom();

 private:
  // The history view's whole text, or false when it cannot be read (gone,
  // not answering).
  bool ReadHistory(Hwnd view, std::string& text);
  void ScheduleRead();

  EventLoop& loop_;
  ClientKit& kit_;
  EventLoop::TimerId timer_ = 0;
  Hwnd room_ = 0;
  RoomHistory history_;
  SubscriptionId last_id_ = 0;
  std::map<SubscriptionId, LineObserver> observers_;
};

}  // namespace zorvik
