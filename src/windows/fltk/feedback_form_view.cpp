#include "windows/fltk/feedback_form_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

#include <cstdlib>

#include "windows/line_breaks.h"

namespace zorvik {

namespace {

constexpr double kButtonPoints = 8.25;

}  // namespace

FeedbackFormView::FeedbackFormView(FeedbackForm& form, FlOwnWindow& window, EventLoop& loop)
    : form_(form), window_(window), loop_(loop), buffer_(std::make_unique<Fl_Text_Buffer>()) {
  const TwipScale& scale = window.desktop().scale;
  Fl_Double_Window& w = window.window();
  w.begin();
  const PixelRect t = FormTextRect(scale);
  editor_ = new Fl_Text_Editor(t.x, t.y, t.w, t.h);
  editor_->textfont(FL_HELVETICA);
  editor_->textsize(scale.FontPixels(kFormTextPoints));
  editor_->scrollbar_align(FL_ALIGN_RIGHT);
  // Left to right: "bug report", "comments", "exit".
  constexpr FormButton kLeftToRight[] = {FormButton::kBugReport, FormButton::kComments,
                                         FormButton::kExit};
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const FormButton which = kLeftToRight[i];
    const PixelRect r = FormButtonRect(scale, which);
    Fl_Button* widget = new Fl_Button(r.x, r.y, r.w, r.h);
    widget->copy_label(std::string(FormButtonCaption(which)).c_str());
    widget->labelsize(scale.FontPixels(kButtonPoints));
    slots_[i] = Slot{this, which, widget};
    widget->callback(OnButton, &slots_[i]);
  }
  w.end();
  w.callback(OnClose, this);
  buffer_->add_modify_callback(OnModified, this);
  LoadText();
  form_.AddVisibilityObserver([this](bool) { loop_.Post([this] { SyncShown(); }); });
}

FeedbackFormView::~FeedbackFormView() {
  buffer_->remove_modify_callback(OnModified, this);
  // The editor lives in the window, which outlives this view, and it must
  // not outlive the buffer it shows.
  if (attached_) {
    window_.window().remove(editor_);
    delete editor_;
  }
}

Fl_Button& FeedbackFormView::button(FormButton which) {
  for (const Slot& slot : slots_) {
    if (slot.which == which) return *slot.widget;
  }
  return *slots_[0].widget;
}

void FeedbackFormView::OnButton(Fl_Widget*, void* data) {
  Slot* slot = static_cast<Slot*>(data);
  FeedbackForm& form = slot->view->form_;
  const FormButton which = slot->which;
  slot->view->loop_.Post([&form, which] { form.Press(which); });
}

void FeedbackFormView::OnClose(Fl_Widget*, void* data) {
  // The close box hides the form as its "exit" button does.
  FeedbackFormView* view = static_cast<FeedbackFormView*>(data);
  FeedbackForm& form = view->form_;
  view->loop_.Post([&form] { form.Press(FormButton::kExit); });
}

void FeedbackFormView::OnModified(int, int inserted, int deleted, int, const char*, void* data) {
  FeedbackFormView* view = static_cast<FeedbackFormView*>(data);
  if (view->loading_ || (inserted == 0 && deleted == 0)) return;
  char* text = view->buffer_->text();
  view->written_ = ToCrLf(text);
  std::free(text);
  view->form_.SetText(view->written_);
}

void FeedbackFormView::LoadText() {
  if (form_.text() == written_) return;
  written_ = form_.text();
  loading_ = true;
  buffer_->text(ToLf(written_).c_str());
  loading_ = false;
}

void FeedbackFormView::SyncShown() {
  if (form_.shown() && window_.desktop().display && !attached_) {
    // Showing a buffer measures fonts, which takes a display.
    editor_->buffer(buffer_.get());
    editor_->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
    attached_ = true;
  }
  if (form_.shown()) LoadText();
  window_.SetShown(form_.shown());
}

}  // namespace zorvik
