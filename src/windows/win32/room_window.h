// The embedded client's chat room on user32, for hosting without the
// desktop client: the room's lines in a read-only box as they scroll, and a
// row to speak as any screen name (name, text, "say"; Enter in the text
// says it), so that a whole match is played on one machine. It shows what
// the client's room shows and speaks through EmbeddedClient::Say.
#pragma once

#include <string>

#include "bridge/kit/embedded_client.h"
#include "bridge/loop/win32_loop.h"
#include "windows/win32/native_window.h"

namespace zorvik {

class RoomWindow {
 public:
  static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  static constexpr DWORD kExStyle = 0;
  // The box keeps the newest lines; older ones are dropped in batches.
  static constexpr int kKeptLines = 5000;

  // `window` is made with kStyle and kExStyle. All three must outlive the
  // view. Shows every line said from now on, and those said before.
  RoomWindow(EmbeddedClient& client, NativeWindow& window, Win32Loop& loop);
  ~RoomWindow();
  RoomWindow(const RoomWindow&) = delete;
  RoomWindow& operator=(const RoomWindow&) = delete;

 private:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Append(const std::string& screen_name, const std::string& text);
  void LayOut();
  void Say();

  EmbeddedClient& client_;
  NativeWindow& window_;
  Win32Loop& loop_;
  NativeFont font_;
  HWND lines_ = nullptr;
  HWND name_ = nullptr;
  HWND text_ = nullptr;
  HWND say_ = nullptr;
  RoomFeed::SubscriptionId subscription_ = 0;
  int line_count_ = 0;
};

}  // namespace zorvik
