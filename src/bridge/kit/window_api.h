// The window system as the client kit sees it: a tree of windows identified
// by handles, walked child by child, read by class and text, and driven with
// a handful of window messages.
//
// It is abstract because the chat client it drives is another program: on
// Windows these calls are user32 against the real client (Win32WindowApi);
// everywhere else they are answered by the in-process EmbeddedClient. The
// client kit's walks and polls are written once, against this interface.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvik {

// The client reads class names into buffers of this many bytes: a class
// name is seen as its first kClassNameBuffer - 1 bytes.
inline constexpr std::size_t kClassNameBuffer = 250;
using ClassNameBuffer = std::array<char, kClassNameBuffer>;

// A window handle, full width. 0 is "no window"; every call accepts 0 and
// then finds nothing, reads nothing and sends nothing.
using Hwnd = std::uint64_t;

// The messages the kit sends, with their window-system numbers.
enum class WindowMessage : std::uint32_t {
  kSetText = 0x000C,      // WM_SETTEXT: text replaces the window's whole text
  kClose = 0x0010,        // WM_CLOSE
  kChar = 0x0102,         // WM_CHAR: wparam is the character code (13 = Enter)
  kLButtonDown = 0x0201,  // WM_LBUTTONDOWN
  kLButtonUp = 0x0202,    // WM_LBUTTONUP: buttons act on the release
};

class WindowApi {
 public:
  WindowApi() = default;
  WindowApi(const WindowApi&) = delete;
  WindowApi& operator=(const WindowApi&) = delete;
  virtual ~WindowApi() = default;

  // The first top-level window of class `window_class` (exact, case-
  // insensitive as the window system compares classes) and, when `title` is
  // given, exactly that title. 0 if there is none.
  virtual Hwnd FindTopLevel(std::string_view window_class,
                            std::optional<std::string_view> title) = 0;

  // Child order is front to back. 0 when there is none.
  virtual Hwnd FirstChild(Hwnd window) = 0;
  virtual Hwnd NextSibling(Hwnd window) = 0;

  // The window's class name as the client reads it into a ClassNameBuffer:
  // its first kClassNameBuffer - 1 bytes; empty for 0 or a window that has
  // gone. The view is into `buffer` (where the window system copies names
  // out) or into the window's own record, and lasts until the next call on
  // this interface. Never allocates, so that a walk can read every window
  // it passes.
  virtual std::string_view ReadClassName(Hwnd window, ClassNameBuffer& buffer) = 0;
  // The class name as a string.
  std::string ClassName(Hwnd window) {
    ClassNameBuffer buffer;
    return std::string(ReadClassName(window, buffer));
  }
  // The window's text (caption or contents), UTF-8; empty for 0 or a window
  // that has gone.
  virtual std::string WindowText(Hwnd window) = 0;

  // Sends a message and returns when the window has handled it. `text` is
  // the lparam string of kSetText (UTF-8) and is ignored by the others.
  // Handling a message never dispatches the program's own events.
  virtual void SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                           std::string_view text) = 0;

  // Asks for the keyboard focus to move to `window`. Nothing depends on it.
  virtual void SetFocus(Hwnd window) = 0;
};

}  // namespace zorvik
