#include "windows/win32/console_window.h"

#include "windows/win32/wide_text.h"
#include "windows/window_layout.h"

namespace zorvik {

namespace {

constexpr int kFirstButtonId = 100;
constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

void SetText(HWND control, const std::string& text) {
  const std::wstring wide = Widen(text);
  // Unchanged texts are left alone, so the labels do not flicker.
  if (ControlText(control) != wide) SetWindowTextW(control, wide.c_str());
}

void SetEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
}

}  // namespace

ConsoleWindow::ConsoleWindow(HostConsole& console, NativeWindow& window, Win32Loop& loop)
    : console_(console),
      window_(window),
      loop_(loop),
      font_(L"Tahoma", kConsoleFontPoints, window.screen().scale) {
  const TwipScale& scale = window.screen().scale;
  HFONT font = font_.get();
  // Made in tab order, since a window's children take the focus in the
  // order they were made: the labels (no tab stops), the buttons in the
  // console's order, and last the frames, which lie under the rest.
  for (int seat = 1; seat <= 2; ++seat) {
    const std::size_t i = static_cast<std::size_t>(seat - 1);
    creatures_[i] =
        window.AddControl(L"STATIC", "", kLabelStyle, CreatureLabelRect(scale, seat), 0, font);
    hps_[i] = window.AddControl(L"STATIC", "", kLabelStyle, HpLabelRect(scale, seat), 0, font);
  }
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    const ConsoleButton which = kConsoleButtons[i];
    buttons_[i] = window.AddControl(L"BUTTON", ButtonCaption(which), BS_PUSHBUTTON | WS_TABSTOP,
                                    ConsoleButtonRect(scale, which),
                                    kFirstButtonId + static_cast<int>(i), font);
  }
  seats_[0] = window.AddControl(L"BUTTON", "", BS_GROUPBOX,
                                ConsoleFrameRect(scale, ConsoleFrame::kPlayer1), 0, font);
  seats_[1] = window.AddControl(L"BUTTON", "", BS_GROUPBOX,
                                ConsoleFrameRect(scale, ConsoleFrame::kPlayer2), 0, font);
  window.AddControl(L"BUTTON", "controls", BS_GROUPBOX,
                    ConsoleFrameRect(scale, ConsoleFrame::kControls), 0, font);
  game_controls_ = window.AddControl(L"BUTTON", "game controls", BS_GROUPBOX,
                                     ConsoleFrameRect(scale, ConsoleFrame::kGameControls), 0, font);
  window.SetHandler([this](UINT message, WPARAM wparam, LPARAM lparam) {
    return OnMessage(message, wparam, lparam);
  });
  loop_.AddDialogWindow(window.handle());
  console_.AddChangeObserver([this] { Refresh(); });
  Refresh();
}

ConsoleWindow::~ConsoleWindow() {
  loop_.RemoveDialogWindow(window_.handle());
  window_.SetHandler(nullptr);
}

HWND ConsoleWindow::button(ConsoleButton which) const {
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    if (kConsoleButtons[i] == which) return buttons_[i];
  }
  return nullptr;
}

std::optional<LRESULT> ConsoleWindow::OnMessage(UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    const int index = LOWORD(wparam) - kFirstButtonId;
    // Enter and Escape come as IDOK and IDCANCEL: no button of the console.
    if (index < 0 || index >= static_cast<int>(kConsoleButtons.size())) return 0;
    const ConsoleButton which = kConsoleButtons[static_cast<std::size_t>(index)];
    HostConsole& console = console_;
    loop_.Post([&console, which] { console.Press(which); });
    return 0;
  }
  if (message == WM_CLOSE) {
    // The close box says goodbye as "exit" does; the program ends with it.
    HostConsole& console = console_;
    loop_.Post([&console] { console.Press(ConsoleButton::kExit); });
    return 0;
  }
  return std::nullopt;
}

void ConsoleWindow::Refresh() {
  const MatchTable& table = console_.table();
  SetText(seats_[0], WithoutShortcuts(table.seat1Caption));
  SetText(seats_[1], WithoutShortcuts(table.seat2Caption));
  SetText(creatures_[0], table.player1Creature);
  SetText(creatures_[1], table.player2Creature);
  SetText(hps_[0], table.player1Hp);
  SetText(hps_[1], table.player2Hp);
  SetEnabled(game_controls_, console_.switches().gamecontrol);
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    SetEnabled(buttons_[i], console_.Enabled(kConsoleButtons[i]));
  }
  if (!sync_posted_ && window_.shown() != (console_.shown() && !console_.ended())) {
    // Showing a window sends it messages: left to a task, as observers
    // must not dispatch.
    sync_posted_ = true;
    loop_.Post([this] {
      sync_posted_ = false;
      window_.SetShown(console_.shown() && !console_.ended());
    });
  }
}

}  // namespace zorvik
