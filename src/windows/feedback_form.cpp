#include "windows/feedback_form.h"

#include <utility>

#include "bridge/kit/client_kit.h"

namespace zorvik {

std::string_view FormButtonCaption(FormButton button) {
  switch (button) {
    case FormButton::kBugReport:
      return "bug report";
    case FormButton::kComments:
      return "comments";
    case FormButton::kExit:
      return "exit";
  }
  return {};
}

const std::string& InitialFeedbackText() {
  static const std::string kText = [] {
    const std::string lines[] = {
        "yo vandor!" + std::string(36, ' '),
        "this game is tight!" + std::string(23, ' '),
        "start making a second version now!" + std::string(19, ' '),
        std::string(42, ' '),
        std::string(1, ' '),
        std::string(37, ' '),
        std::string(32, ' '),
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }();
  return kText;
}

std::optional<FormButton> FormButtonFromCaption(std::string_view caption) {
  for (FormButton button : {FormButton::kBugReport, FormButton::kComments, FormButton::kExit}) {
    if (FormButtonCaption(button) == caption) return button;
  }
  return std::nullopt;
}

FeedbackForm::FeedbackForm(ChatClient& client, OwnWindow& window)
    : client_(client), window_(window), text_(InitialFeedbackText()) {}

void FeedbackForm::AddVisibilityObserver(std::function<void(bool shown)> observer) {
  observers_.push_back(std::move(observer));
}

void FeedbackForm::Show() {
  if (!loaded_) {
    loaded_ = true;
    StayOnTop(window_);
    CenterWindow(window_);
  }
  SetShown(true);
}

bool FeedbackForm::Press(FormButton button) {
  if (!shown_) return false;
  switch (button) {
    case FormButton::kBugReport:
      // The text is copied: it may be edited while the mail is being sent.
      client_.SendMail(std::string(kFeedbackRecipient), std::string(kBugReportSubject), text_);
      break;
    case FormButton::kComments:
      client_.SendMail(std::string(kFeedbackRecipient), std::string(kCommentsSubject), text_);
      break;
    case FormButton::kExit:
      SetShown(false);
      break;
  }
  return true;
}

void FeedbackForm::SetShown(bool shown) {
  if (shown_ == shown) return;
  shown_ = shown;
  for (const auto& observer : observers_) observer(shown);
}

}  // namespace zorvik
