#include "app/desktop.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>

#include "bridge/loop/fltk_loop.h"
#include "windows/fltk/console_view.h"
#include "windows/fltk/feedback_form_view.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/fltk/info_menu_view.h"
#include "windows/fltk/message_box_view.h"
#include "windows/fltk/room_view.h"
#include "windows/fltk/splash_view.h"
#include "windows/fltk/window_state.h"
#include "windows/room_layout.h"

namespace zorvik {

namespace {

DesktopScreen MeasureScreen() {
  DesktopScreen screen;
  int x = 0, y = 0, w = 0, h = 0;
  Fl::screen_xywh(x, y, w, h, 0);
  if (w > 0 && h > 0) screen.size = ScreenSize{w, h};
  float h_dpi = 0, v_dpi = 0;
  Fl::screen_dpi(h_dpi, v_dpi, 0);
  screen.scale = TwipScale(h_dpi);
  screen.display = true;
  return screen;
}

}  // namespace

struct Desktop::Parts {
  explicit Parts(const ProgramOptions& options)
      : screen(MeasureScreen()),
        boxes(loop, screen),
        console_window(screen, screen.scale.Pixels(kConsoleWidthTwips),
                       screen.scale.Pixels(kConsoleHeightTwips), std::string(kConsoleCaption),
                       FlOwnWindow::Frame::kDialog, true),
        splash_window(screen, screen.scale.Pixels(kSplashWidthTwips),
                      screen.scale.Pixels(kSplashHeightTwips), "zorvik",
                      FlOwnWindow::Frame::kBorderless, false),
        form_window(screen, screen.scale.Pixels(kFormWidthTwips),
                    screen.scale.Pixels(kFormHeightTwips), "mail me", FlOwnWindow::Frame::kDialog,
                    false),
        room_window(screen, screen.scale.Pixels(kRoomWidthTwips),
                    screen.scale.Pixels(kRoomHeightTwips), "zorvik room: Lobby 1",
                    FlOwnWindow::Frame::kResizable, true),
        program(loop, boxes, options,
                ProgramWindows{&console_window, &splash_window, &form_window}),
        menu_view(program.menu()),
        console_view(program.console(), console_window, loop),
        splash_view(program.splash(), splash_window, loop),
        form_view(program.form(), form_window, loop),
        room_view(program.client(), room_window, loop) {}

  FltkLoop loop;
  DesktopScreen screen;
  FlMessageBoxes boxes;
  FlOwnWindow console_window;
  FlOwnWindow splash_window;
  FlOwnWindow form_window;
  FlOwnWindow room_window;
  HostProgram program;
  InfoMenuView menu_view;
  ConsoleView console_view;
  SplashView splash_view;
  FeedbackFormView form_view;
  RoomView room_view;
};

Desktop::Desktop(const ProgramOptions& options) : parts_(std::make_unique<Parts>(options)) {
  InfoMenuView& menu = parts_->menu_view;
  parts_->program.console().SetInfoAction([&menu] { menu.PopUp(); });
}

Desktop::~Desktop() = default;

void Desktop::Start() {
  // The room sits below the splash, where the console will not cover it.
  const ScreenSize screen = parts_->screen.size;
  const WindowRect room = parts_->room_window.Bounds();
  const int top = std::max(0, std::min(screen.height - room.height - 40, screen.height / 2));
  parts_->room_window.MoveTo(std::max(0, (screen.width - room.width) / 2), top);
  parts_->room_view.Show();
  parts_->program.Start();
}

FltkLoop& Desktop::loop() {
  return parts_->loop;
}
HostProgram& Desktop::program() {
  return parts_->program;
}
FlMessageBoxes& Desktop::boxes() {
  return parts_->boxes;
}
ConsoleView& Desktop::console_view() {
  return parts_->console_view;
}
SplashView& Desktop::splash_view() {
  return parts_->splash_view;
}
FeedbackFormView& Desktop::form_view() {
  return parts_->form_view;
}
RoomView& Desktop::room_view() {
  return parts_->room_view;
}
FlOwnWindow& Desktop::console_window() {
  return parts_->console_window;
}
FlOwnWindow& Desktop::splash_window() {
  return parts_->splash_window;
}
FlOwnWindow& Desktop::form_window() {
  return parts_->form_window;
}
FlOwnWindow& Desktop::room_window() {
  return parts_->room_window;
}

DesktopOutcome RunDesktop(const ProgramOptions& options) {
  DesktopOutcome outcome;
  if (!OpenDesktopDisplay(outcome.no_display)) return outcome;
  Fl_Window::default_xclass("zorvik");
  Desktop desktop(options);
  desktop.Start();
  desktop.loop().Run();
  outcome.ran = true;
  return outcome;
}

}  // namespace zorvik
