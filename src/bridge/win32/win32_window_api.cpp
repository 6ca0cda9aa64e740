#include "bridge/win32/win32_window_api.h"

#include <windows.h>
#undef SendMessage  // the WindowApi call of that name, not the macro

#include <string>

#include "bridge/win32/ansi_text.h"

namespace zorvik {

namespace {

HWND ToHwnd(Hwnd window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

Hwnd FromHwnd(HWND window) {
  return static_cast<Hwnd>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

Hwnd Win32WindowApi::FindTopLevel(std::string_view window_class,
                                  std::optional<std::string_view> title) {
  const std::string class_name(window_class);
  if (!title) return FromHwnd(FindWindowA(class_name.c_str(), nullptr));
  const std::string ansi_title = Utf8ToAnsi(*title);
  return FromHwnd(FindWindowA(class_name.c_str(), ansi_title.c_str()));
}

Hwnd Win32WindowApi::FirstChild(Hwnd window) {
  return window == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(window), GW_CHILD));
}

Hwnd Win32WindowApi::NextSibling(Hwnd window) {
  return window == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

std::string_view Win32WindowApi::ReadClassName(Hwnd window, ClassNameBuffer& buffer) {
  if (window == 0) return {};
  const int copied = GetClassNameA(ToHwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  return copied <= 0 ? std::string_view() : std::string_view(buffer.data(), copied);
}

std::string Win32WindowApi::WindowText(Hwnd window) {
  if (window == 0) return {};
  const int length = GetWindowTextLengthA(ToHwnd(window));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(ToHwnd(window), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return AnsiToUtf8(text);
}

void Win32WindowApi::SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                                 std::string_view text) {
  if (window == 0) return;
  std::string ansi;
  LPARAM lparam = 0;
  if (message == WindowMessage::kSetText) {
    ansi = Utf8ToAnsi(text);
    lparam = reinterpret_cast<LPARAM>(ansi.c_str());
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutA(ToHwnd(window), static_cast<UINT>(message), static_cast<WPARAM>(wparam),
                      lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
}

void Win32WindowApi::SetFocus(Hwnd window) {
  ::SetFocus(ToHwnd(window));
}

}  // namespace zorvik
