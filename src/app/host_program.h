// The whole host on the embedded client, wired once for every front end
// that runs it (replay, text console, demo, desktop): the client and its
// kit, the random source, the console, the splash window, the info menu and
// the feedback form. The program's own windows are the front end's; those
// it does not give are windows without a display behind them.
#pragma once

#include <cstdint>
#include <string>

#include "bridge/client_kit.h"
#include "bridge/embedded_client.h"
#include "bridge/event_loop.h"
#include "bridge/own_window.h"
#include "match/host_console.h"
#include "match/random_source.h"
#include "windows/feedback_form.h"
#include "windows/info_menu.h"
#include "windows/message_box.h"
#include "windows/splash.h"

namespace zorvik {

struct ProgramOptions {
  std::uint64_t seed = 0;
  std::string screen_name = "host";
};

// The front end's own windows, each null for one without a display.
struct ProgramWindows {
  OwnWindow* console = nullptr;
  OwnWindow* splash = nullptr;
  OwnWindow* form = nullptr;
};

class HostProgram {
 public:
  // `loop`, `boxes` and the given windows must outlive the program.
  HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
              ProgramWindows windows = {});
  HostProgram(const HostProgram&) = delete;
  HostProgram& operator=(const HostProgram&) = delete;

  // Schedules the program's start on the loop: the splash window loads at
  // the loop's current time, ahead of anything scheduled after this call.
  void Start();

  EventLoop& loop() { return loop_; }
  EmbeddedClient& client() { return client_; }
  ClientKit& kit() { return kit_; }
  HostConsole& console() { return console_; }
  Splash& splash() { return splash_; }
  FeedbackForm& form() { return form_; }
  InfoMenu& menu() { return menu_; }

 private:
  EventLoop& loop_;
  EmbeddedClient client_;
  ClientKit kit_;
  RandomSource random_;
  HeadlessWindow console_window_;
  HeadlessWindow splash_window_;
  HeadlessWindow form_window_;
  HostConsole console_;
  FeedbackForm form_;
  InfoMenu menu_;
  Splash splash_;
};

}  // namespace zorvik
