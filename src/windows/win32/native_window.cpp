#include "windows/win32/native_window.h"

#include "windows/win32/wide_text.h"

namespace zorvik {

namespace {

constexpr wchar_t kWindowClass[] = L"zorvik window";

void RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kWindowClass;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

}  // namespace

NativeScreen MeasureNativeScreen() {
  NativeScreen screen;
  screen.size = ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (HDC dc = GetDC(nullptr)) {
    screen.scale = TwipScale(GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
  }
  return screen;
}

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

NativeFont::NativeFont(const wchar_t* face, double points, const TwipScale& scale)
    : font_(CreateFontW(-scale.FontPixels(points), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, face)) {}

NativeFont::~NativeFont() {
  if (font_) DeleteObject(font_);
}

NativeWindow::NativeWindow(const NativeScreen& screen, std::string_view caption, DWORD style,
                           DWORD ex_style, int client_width, int client_height, HWND owner)
    : screen_(screen) {
  RegisterOnce();
  RECT outer{0, 0, client_width, client_height};
  AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  window_ = CreateWindowExW(ex_style, kWindowClass, Widen(caption).c_str(), style & ~WS_VISIBLE, 0,
                            0, outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (window_) {
    // The class's procedure is the default one until the window knows its
    // owner: messages of creation need nothing of ours.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
  }
}

NativeWindow::~NativeWindow() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  DestroyWindow(window_);
}

LRESULT CALLBACK NativeWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && self->handler_) {
    if (std::optional<LRESULT> answer = self->handler_(message, wparam, lparam)) return *answer;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void NativeWindow::SetShown(bool shown) {
  if (!window_ || shown == shown_) return;
  shown_ = shown;
  ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
  if (shown) UpdateWindow(window_);
}

HWND NativeWindow::AddControl(const wchar_t* control_class, std::string_view text, DWORD style,
                              PixelRect place, int id, HFONT font, DWORD ex_style) {
  if (!window_) return nullptr;
  HWND control = CreateWindowExW(
      ex_style, control_class, Widen(text).c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
      place.x, place.y, place.w, place.h, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

WindowRect NativeWindow::Bounds() const {
  RECT r{};
  if (!window_ || !GetWindowRect(window_, &r)) return {};
  return WindowRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void NativeWindow::MoveTo(int left, int top) {
  if (window_) {
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void NativeWindow::SetTopmost() {
  if (window_) {
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

}  // namespace zorvik
