#include "windows/win32/form_window.h"

#include "windows/win32/wide_text.h"
#include "windows/window_layout.h"

namespace zorvik {

namespace {

constexpr int kEditId = 199;
constexpr int kFirstButtonId = 200;
constexpr double kButtonPoints = 8.25;

}  // namespace

FormWindow::FormWindow(FeedbackForm& form, NativeWindow& window, Win32Loop& loop)
    : form_(form),
      window_(window),
      loop_(loop),
      text_font_(L"Arial", kFormTextPoints, window.screen().scale),
      button_font_(L"Tahoma", kButtonPoints, window.screen().scale) {
  const TwipScale& scale = window.screen().scale;
  // The text box first in the tab order, then Command1, Command2, Command3.
  edit_ = window.AddControl(L"EDIT", "",
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                            FormTextRect(scale), kEditId, text_font_.get(), WS_EX_CLIENTEDGE);
  if (edit_) SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);  // as much as memory allows
  for (std::size_t i = 0; i < kFormButtonPlaces.size(); ++i) {
    const FormButtonPlace& place = kFormButtonPlaces[i];
    window.AddControl(L"BUTTON", FormButtonCaption(place.which), BS_PUSHBUTTON | WS_TABSTOP,
                      FormButtonRect(scale, place.which), kFirstButtonId + static_cast<int>(i),
                      button_font_.get());
  }
  window.SetHandler([this](UINT message, WPARAM wparam, LPARAM lparam) {
    return OnMessage(message, wparam, lparam);
  });
  loop_.AddDialogWindow(window.handle());
  LoadText();
  form_.AddVisibilityObserver([this](bool) { loop_.Post([this] { SyncShown(); }); });
}

FormWindow::~FormWindow() {
  loop_.RemoveDialogWindow(window_.handle());
  window_.SetHandler(nullptr);
}

std::optional<LRESULT> FormWindow::OnMessage(UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wparam) == kEditId && HIWORD(wparam) == EN_CHANGE) {
    if (loading_) return 0;
    written_ = Narrow(ControlText(edit_));
    form_.SetText(written_);
    return 0;
  }
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    const int index = LOWORD(wparam) - kFirstButtonId;
    if (index < 0 || index >= static_cast<int>(kFormButtonPlaces.size())) return 0;
    const FormButton which = kFormButtonPlaces[static_cast<std::size_t>(index)].which;
    FeedbackForm& form = form_;
    loop_.Post([&form, which] { form.Press(which); });
    return 0;
  }
  if (message == WM_CLOSE) {
    // The close box hides the form as its "exit" button does.
    FeedbackForm& form = form_;
    loop_.Post([&form] { form.Press(FormButton::kExit); });
    return 0;
  }
  return std::nullopt;
}

void FormWindow::LoadText() {
  if (!edit_ || form_.text() == written_) return;
  written_ = form_.text();
  loading_ = true;
  SetWindowTextW(edit_, Widen(written_).c_str());
  loading_ = false;
}

void FormWindow::SyncShown() {
  if (form_.shown()) LoadText();
  window_.SetShown(form_.shown());
}

}  // namespace zorvik
