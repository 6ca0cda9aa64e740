// The feedback form on user32: a multi-line edit box with a vertical
// scroll bar and the three buttons in one row. What is typed goes to the
// form's text at once; the form shows and hides as the model says, so
// "exit" hides it and it comes back as it was left.
#pragma once

#include <array>
#include <string>

#include "bridge/loop/win32_loop.h"
#include "windows/feedback_form.h"
#include "windows/win32/native_window.h"

namespace zorvik {

class FormWindow {
 public:
  // A fixed dialog frame, no minimise or maximise box; made with an owner
  // (the console), so not in the taskbar.
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

  // `window` is made with kStyle, kExStyle and the form's client size.
  // All three must outlive the view.
  FormWindow(FeedbackForm& form, NativeWindow& window, Win32Loop& loop);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

 private:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void LoadText();
  void SyncShown();

  FeedbackForm& form_;
  NativeWindow& window_;
  Win32Loop& loop_;
  NativeFont text_font_;
  NativeFont button_font_;
  HWND edit_ = nullptr;
  std::string written_;  // the text as the box last had it
  bool loading_ = false;
};

}  // namespace zorvik
