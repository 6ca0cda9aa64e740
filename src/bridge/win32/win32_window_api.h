// WindowApi on user32, against the real desktop client in another process.
// Handles are the client's HWNDs at full width; texts cross in the ANSI code
// page (ansi_text.h), as the client's windows are ANSI windows.
//
// Messages are sent, not posted: each call returns once the client has
// handled the message, but a client that has stopped answering is given up
// on after kSendTimeoutMs, so a hung client cannot hang the host. No call
// dispatches the program's events.
#pragma once

#include "bridge/kit/window_api.h"

namespace zorvik {

class Win32WindowApi : public WindowApi {
 public:
  static constexpr unsigned kSendTimeoutMs = 5000;

  // FindWindowA with the class and, when given, the title.
  Hwnd FindTopLevel(std::string_view window_class,
                    std::optional<std::string_view> title) override;
  // GetWindow with GW_CHILD and GW_HWNDNEXT.
  Hwnd FirstChild(Hwnd window) override;
  Hwnd NextSibling(Hwnd window) override;
  // GetClassNameA into the caller's buffer.
  std::string_view ReadClassName(Hwnd window, ClassNameBuffer& buffer) override;
  // GetWindowTextLengthA and GetWindowTextA: a window's caption (for
  // another program's controls, not their contents).
  std::string WindowText(Hwnd window) override;
  void SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                   std::string_view text) override;
  void SetFocus(Hwnd window) override;
};

}  // namespace zorvik
