#include "windows/win32/room_window.h"

#include "windows/room_layout.h"
#include "windows/room_line.h"
#include "windows/win32/wide_text.h"

namespace zorvik {

namespace {
constexpr double kFontPoints = 9;
}  // namespace

RoomWindow::RoomWindow(EmbeddedClient& client, NativeWindow& window, Win32Loop& loop)
    : client_(client),
      window_(window),
      loop_(loop),
      font_(L"Arial", kFontPoints, window.screen().scale) {
  HFONT font = font_.get();
  const PixelRect none{};
  lines_ = window.AddControl(L"EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                             none, 0, font, WS_EX_CLIENTEDGE);
  if (lines_) SendMessageW(lines_, EM_SETLIMITTEXT, 0, 0);
  name_ = window.AddControl(L"EDIT", "alice", ES_AUTOHSCROLL | WS_TABSTOP, none, 0, font,
                            WS_EX_CLIENTEDGE);
  text_ =
      window.AddControl(L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, none, 0, font, WS_EX_CLIENTEDGE);
  // IDOK: Enter anywhere in the window presses "say".
  say_ = window.AddControl(L"BUTTON", "say", BS_DEFPUSHBUTTON | WS_TABSTOP, none, IDOK, font);
  LayOut();
  window.SetHandler([this](UINT message, WPARAM wparam, LPARAM lparam) {
    return OnMessage(message, wparam, lparam);
  });
  loop_.AddDialogWindow(window.handle());
  subscription_ = client_.Subscribe(
      [this](const std::string& name, const std::string& text) { Append(name, text); });
  for (const RoomLine& line : client_.RoomHistory()) Append(line.screen_name, line.text);
}

RoomWindow::~RoomWindow() {
  client_.Unsubscribe(subscription_);
  loop_.RemoveDialogWindow(window_.handle());
  window_.SetHandler(nullptr);
}

std::optional<LRESULT> RoomWindow::OnMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) Say();
      return 0;
    case WM_CLOSE:
      // The room stays while the host runs; the console's "exit" ends both.
      return 0;
    default:
      return std::nullopt;
  }
}

void RoomWindow::LayOut() {
  RECT client{};
  GetClientRect(window_.handle(), &client);
  const RoomLayout layout = LayOutRoom(window_.screen().scale, client.right, client.bottom);
  for (auto [control, r] : {std::pair{lines_, layout.lines}, std::pair{name_, layout.name},
                            std::pair{text_, layout.text}, std::pair{say_, layout.say}}) {
    if (control) MoveWindow(control, r.x, r.y, r.w, r.h, TRUE);
  }
}

void RoomWindow::Say() {
  std::string name = Narrow(ControlText(name_));
  std::string text = Narrow(ControlText(text_));
  // Nobody speaks without a name, and an empty line says nothing.
  if (name.empty() || text.empty()) return;
  SetWindowTextW(text_, L"");
  EmbeddedClient& client = client_;
  loop_.Post([&client, name = std::move(name), text = std::move(text)] { client.Say(name, text); });
}

void RoomWindow::Append(const std::string& screen_name, const std::string& text) {
  // Called inside the client's Say: the box is written, nothing dispatched.
  if (!lines_) return;
  if (++line_count_ > kKeptLines) {
    const int drop = kKeptLines / 5;
    const LRESULT end = SendMessageW(lines_, EM_LINEINDEX, drop, 0);
    SendMessageW(lines_, EM_SETSEL, 0, end);
    SendMessageW(lines_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    line_count_ -= drop;
  }
  const std::wstring line = Widen(RoomLineText(screen_name, text) + "\r\n");
  const int length = GetWindowTextLengthW(lines_);
  SendMessageW(lines_, EM_SETSEL, length, length);
  SendMessageW(lines_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

}  // namespace zorvik
