#include "app/host_program.h"

namespace zorvik {

namespace {

// The windows' client areas at 96 dots per inch (15 twips a pixel) on a
// common screen; without a display only the placement arithmetic uses them.
constexpr ScreenSize kScreen{1920, 1080};
constexpr WindowRect kConsoleBounds{0, 0, 5415 / 15, 1335 / 15};
constexpr WindowRect kSplashBounds{0, 0, 4050 / 15, 1665 / 15};
constexpr WindowRect kFormBounds{0, 0, 2880 / 15, 1335 / 15};

}  // namespace

HostProgram::HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
                         ProgramWindows windows)
    : HostProgram(loop, boxes, options, std::make_unique<Embedded>(options.screen_name, loop),
                  nullptr, nullptr, windows) {}

HostProgram::HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
                         ChatClient& chat, RoomFeed& room, ProgramWindows windows)
    : HostProgram(loop, boxes, options, nullptr, &chat, &room, windows) {}

HostProgram::HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
                         std::unique_ptr<Embedded> embedded, ChatClient* chat, RoomFeed* room,
                         ProgramWindows windows)
    : loop_(loop),
      embedded_(std::move(embedded)),
      chat_(embedded_ ? embedded_->kit : *chat),
      room_(embedded_ ? embedded_->client : *room),
      random_(options.seed),
      console_window_(kConsoleBounds, kScreen),
      splash_window_(kSplashBounds, kScreen),
      form_window_(kFormBounds, kScreen),
      console_(loop, room_, chat_, random_, windows.console ? *windows.console : console_window_),
      form_(chat_, windows.form ? *windows.form : form_window_),
      menu_(boxes, form_),
      splash_(chat_, windows.splash ? *windows.splash : splash_window_, console_) {
  console_.SetInfoAction([this] { menu_.PopUp(); });
  if (options.autopilot) {
    autopilot_ = std::make_unique<Autopilot>(loop, console_, room_, chat_, *options.autopilot);
  }
}

void HostProgram::Start() {
  loop_.Post([this] { splash_.Load(); });
}

}  // namespace zorvik
