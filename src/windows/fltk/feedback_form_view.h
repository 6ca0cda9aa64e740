// The feedback form "mail me" on the desktop: the multi-line text box with
// a vertical scroll bar and the buttons "bug report", "comments" and "exit"
// from the form's twip table. Every edit of the box is written back to the
// FeedbackForm model at once, with CR LF line ends as the model keeps them
// (the toolkit's text box uses LF); clicks go to the model as tasks.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "bridge/loop/event_loop.h"
#include "windows/feedback_form.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/window_layout.h"

class Fl_Widget;
class Fl_Button;
class Fl_Text_Buffer;
class Fl_Text_Editor;

namespace zorvik {

class FeedbackFormView {
 public:
  // All three must outlive the view.
  FeedbackFormView(FeedbackForm& form, FlOwnWindow& window, EventLoop& loop);
  ~FeedbackFormView();
  FeedbackFormView(const FeedbackFormView&) = delete;
  FeedbackFormView& operator=(const FeedbackFormView&) = delete;

  // The text box's contents (LF line ends); editing it is typing.
  Fl_Text_Buffer& buffer() { return *buffer_; }
  Fl_Text_Editor& editor() { return *editor_; }
  Fl_Button& button(FormButton which);

 private:
  struct Slot {
    FeedbackFormView* view;
    FormButton which;
    Fl_Button* widget;
  };

  static void OnButton(Fl_Widget* widget, void* data);
  static void OnClose(Fl_Widget* widget, void* data);
  static void OnModified(int pos, int inserted, int deleted, int restyled, const char* deleted_text,
                         void* data);

  // Puts the model's text into the box when it differs from what the box
  // last wrote; never writes back itself.
  void LoadText();
  void SyncShown();

  FeedbackForm& form_;
  FlOwnWindow& window_;
  EventLoop& loop_;
  std::unique_ptr<Fl_Text_Buffer> buffer_;
  Fl_Text_Editor* editor_ = nullptr;  // owned by the window
  std::array<Slot, 3> slots_{};
  std::string written_;  // the model text as the box last wrote or read it
  bool loading_ = false;
  bool attached_ = false;  // the box shows the buffer (needs a display)
};

}  // namespace zorvik
