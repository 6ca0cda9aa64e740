// The feedback form and the info menu views without a display.
#include "windows/fltk/feedback_form_view.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>

#include <cstdlib>

#include <gtest/gtest.h>

#include "app/host_program.h"
#include "bridge/loop/virtual_loop.h"
#include "windows/fltk/info_menu_view.h"
#include "windows/line_breaks.h"

namespace zorvik {
namespace {

class RecordedBoxes : public MessageBoxes {
 public:
  void Show(const std::string& title, const std::string&) override { titles.push_back(title); }
  std::vector<std::string> titles;
};

class FeedbackFormViewTest : public ::testing::Test {
 protected:
  FeedbackFormViewTest()
      : form_window_(screen_, screen_.scale.Pixels(kFormWidthTwips),
                     screen_.scale.Pixels(kFormHeightTwips), "mail me", FlOwnWindow::Frame::kDialog,
                     false),
        program_(loop_, boxes_, {}, ProgramWindows{nullptr, nullptr, &form_window_}),
        view_(program_.form(), form_window_, loop_),
        menu_view_(program_.menu()) {}

  std::string Shown() {
    char* text = view_.buffer().text();
    std::string copy = text;
    std::free(text);
    return copy;
  }
  void Run() { loop_.Wait(kMicrosPerSecond); }

  DesktopScreen screen_;
  VirtualLoop loop_;
  RecordedBoxes boxes_;
  FlOwnWindow form_window_;
  HostProgram program_;
  FeedbackFormView view_;
  InfoMenuView menu_view_;
};

// The menu shows about, mail me and help with the separator under mail me;
// each item does what the model says.
TEST_F(FeedbackFormViewTest, MenuItems) {
  const auto& items = menu_view_.items();
  ASSERT_EQ(items.size(), 4u);  // three items and the end
  EXPECT_STREQ(items[0].label(), "about");
  EXPECT_STREQ(items[1].label(), "mail me");
  EXPECT_STREQ(items[2].label(), "help");
  EXPECT_EQ(items[3].label(), nullptr);
  EXPECT_FALSE(items[0].flags & FL_MENU_DIVIDER);
  EXPECT_TRUE(items[1].flags & FL_MENU_DIVIDER);

  menu_view_.Carry(&items[0]);
  menu_view_.Carry(&items[2]);
  menu_view_.Carry(nullptr);  // the menu dismissed
  EXPECT_EQ(boxes_.titles,
            (std::vector<std::string>{std::string(kAboutTitle), std::string(kHelpTitle)}));
  EXPECT_FALSE(form_window_.shown());
  menu_view_.Carry(&items[1]);
  Run();
  EXPECT_TRUE(form_window_.shown());
}

// The box shows the text with LF breaks; typing writes it back at once with
// CR LF; "exit" hides the form, and "mail me" brings it back as it was
// left. The buttons stand left to right: bug report, comments, exit.
TEST_F(FeedbackFormViewTest, TextRoundTripAndButtons) {
  EXPECT_EQ(Shown(), ToLf(InitialFeedbackText()));
  EXPECT_LT(view_.button(FormButton::kBugReport).x(), view_.button(FormButton::kComments).x());
  EXPECT_LT(view_.button(FormButton::kComments).x(), view_.button(FormButton::kExit).x());
  EXPECT_EQ(form_window_.window().w(), 192);

  program_.menu().Choose(MenuItem::kMailMe);
  Run();
  ASSERT_TRUE(form_window_.shown());
  // Loading the text is not typing: the model keeps its text untouched.
  EXPECT_EQ(program_.form().text(), InitialFeedbackText());

  struct Edit {
    std::function<void()> type;
    std::string kept;
  };
  const Edit edits[] = {
      {[&] { view_.buffer().text("one\ntwo"); }, "one\r\ntwo"},
      {[&] { view_.buffer().append("\n"); }, "one\r\ntwo\r\n"},
      {[&] { view_.buffer().remove(0, 4); }, "two\r\n"},
      {[&] { view_.buffer().insert(0, "a\r\nb\n"); }, "a\r\nb\r\ntwo\r\n"},  // pasted CR LF
      {[&] { view_.buffer().text(""); }, ""},
  };
  for (const Edit& edit : edits) {
    edit.type();
    EXPECT_EQ(program_.form().text(), edit.kept);
  }
  view_.buffer().text("bug: it\nbroke");

  std::vector<std::string> mails;
  program_.client().SetMailObserver(
      [&](const std::string&, const std::string& subject, const std::string& text) {
        mails.push_back(subject + "|" + text);
      });
  view_.button(FormButton::kBugReport).do_callback();
  Run();
  EXPECT_EQ(mails,
            (std::vector<std::string>{std::string(kBugReportSubject) + "|bug: it\r\nbroke"}));

  view_.button(FormButton::kExit).do_callback();
  Run();
  EXPECT_FALSE(form_window_.shown());
  program_.menu().Choose(MenuItem::kMailMe);
  Run();
  EXPECT_TRUE(form_window_.shown());
  EXPECT_EQ(Shown(), "bug: it\nbroke");

  form_window_.window().do_callback();  // the close box
  Run();
  EXPECT_FALSE(form_window_.shown());
}

}  // namespace
}  // namespace zorvik
