// The feedback form "mail me": a text box and three buttons that send the
// text to the program's author as a bug report or as comments, through the
// chat client's mail. Made the first time it is shown; "exit" only hides it,
// so it comes back as it was left.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/chat_client.h"
#include "bridge/own_window.h"

namespace zorvik {

// Where feedback goes: a fixed screen name on the service.
inline constexpr std::string_view kFeedbackRecipient = "ZorvikDesk";
inline constexpr std::string_view kBugReportSubject = "bug report for z\u00f8rv\u00efk";
inline constexpr std::string_view kCommentsSubject = "comments for z\u00f8rv\u00efk";

enum class FormButton { kBugReport, kComments, kExit };

std::string_view FormButtonCaption(FormButton button);
std::optional<FormButton> FormButtonFromCaption(std::string_view caption);

// The text the form starts with: seven lines, each ended by CR LF.
const std::string& InitialFeedbackText();

class FeedbackForm {
 public:
  // Both must outlive the form. `window` is the form's own window.
  FeedbackForm(ChatClient& client, OwnWindow& window);
  FeedbackForm(const FeedbackForm&) = delete;
  FeedbackForm& operator=(const FeedbackForm&) = delete;

  // Adds an observer called whenever the form is shown or hidden. Observers
  // must not dispatch; they may schedule tasks.
  void AddVisibilityObserver(std::function<void(bool shown)> observer);

  // Shows the form; the first time it is put on top and centred first.
  void Show();
  bool shown() const { return shown_; }

  const std::string& text() const { return text_; }
  // Replaces the text, as typing into the box does.
  void SetText(std::string text) { text_ = std::move(text); }

  // Presses a button. "bug report" and "comments" return when the mail has
  // been sent (dispatching meanwhile); the form and its text stay as they
  // are. Does nothing and returns false while the form is hidden.
  bool Press(FormButton button);

 private:
  void SetShown(bool shown);

  ChatClient& client_;
  OwnWindow& window_;
  std::string text_;
  bool loaded_ = false;
  bool shown_ = false;
  std::vector<std::function<void(bool)>> observers_;
};

}  // namespace zorvik
