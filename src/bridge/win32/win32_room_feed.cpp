#include "bridge/win32/win32_room_feed.h"

#include <windows.h>
#undef SendMessage  // the WindowApi call of that name, not the macro

#include <vector>

#include "bridge/win32/ansi_text.h"

namespace zorvik {

Win32RoomFeed::Win32RoomFeed(EventLoop& loop, ClientKit& kit) : loop_(loop), kit_(kit) {
  ReadRoom();
  ScheduleRead();
}

Win32RoomFeed::~Win32RoomFeed() {
  loop_.Cancel(timer_);
}

RoomFeed::SubscriptionId Win32RoomFeed::Subscribe(LineObserver observer) {
  observers_[++last_id_] = std::move(observer);
  return last_id_;
}

void Win32RoomFeed::Unsubscribe(SubscriptionId id) {
  observers_.erase(id);
}

void Win32RoomFeed::ScheduleRead() {
  timer_ = loop_.ScheduleAfter(kReadInterval, [this] {
    ReadRoom();
    if (!loop_.Quitting()) ScheduleRead();
  });
}

bool Win32RoomFeed::ReadHistory(Hwnd view, std::string& text) {
  HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(view));
  constexpr UINT kFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, kFlags, kReadTimeoutMs, &length)) {
    return false;
  }
  if (length > kLongestHistory) length = kLongestHistory;
  std::vector<char> buffer(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           kFlags, kReadTimeoutMs, &copied)) {
    return false;
  }
  if (copied > length) copied = length;
  text = AnsiToUtf8(std::string_view(buffer.data(), copied));
  return true;
}

void Win32RoomFeed::ReadRoom() {
  const Hwnd room = kit_.FindRoom();
  if (room == 0) return;  // hidden or closed: nothing to read now
  if (room != room_) {
    room_ = room;
    history_.Reset();
  }
  std::string text;
  if (!ReadHistory(kit_.FindChildByClass(room, "RICHCNTL"), text)) return;
  for (const HistoryLine& line : history_.Update(text)) {
    // An observer may unsubscribe another (never add lines or dispatch).
    for (auto it = observers_.begin(); it != observers_.end();) {
      const SubscriptionId id = it->first;
      LineObserver observer = it->second;
      observer(line.screen_name, line.text);
      it = observers_.upper_bound(id);
    }
  }
}

}  // namespace zorvik
