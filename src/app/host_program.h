// The whole host, wired once for every front end that runs it: the chat
// client, the random source, the console, the splash window, the info menu
// and the feedback form. The client is either the embedded one with its kit
// (replay, text console, demo, desktop), owned here, or one from outside
// (IRC), borrowed. The program's own windows are the front end's; those it
// does not give are windows without a display behind them.
#pragma once

#include <cassert>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "autopilot/autopilot.h"
#include "bridge/kit/client_kit.h"
#include "bridge/kit/embedded_client.h"
#include "bridge/loop/event_loop.h"
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
  // Set: an autopilot presses the console's buttons (autopilot/autopilot.h).
  std::optional<AutopilotSettings> autopilot;
};

// The front end's own windows, each null for one without a display.
struct ProgramWindows {
  OwnWindow* console = nullptr;
  OwnWindow* splash = nullptr;
  OwnWindow* form = nullptr;
};

class HostProgram {
 public:
  // On the embedded client. `loop`, `boxes` and the given windows must
  // outlive the program.
  HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
              ProgramWindows windows = {});
  // On an outside client; `chat` and `room` must outlive the program too.
  HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options, ChatClient& chat,
              RoomFeed& room, ProgramWindows windows = {});
  HostProgram(const HostProgram&) = delete;
  HostProgram& operator=(const HostProgram&) = delete;

  // Schedules the program's start on the loop: the splash window loads at
  // the loop's current time, ahead of anything scheduled after this call.
  void Start();

  EventLoop& loop() { return loop_; }
  bool embedded() const { return embedded_ != nullptr; }
  // The embedded client and its kit. Precondition: embedded().
  EmbeddedClient& client() {
    assert(embedded_);
    return embedded_->client;
  }
  ClientKit& kit() {
    assert(embedded_);
    return embedded_->kit;
  }
  // The client the host speaks through and the room it hears, either way.
  ChatClient& chat() { return chat_; }
  RoomFeed& room() { return room_; }
  HostConsole& console() { return console_; }
  // The autopilot, or null when the options asked for none.
  Autopilot* autopilot() { return autopilot_.get(); }
  Splash& splash() { return splash_; }
  FeedbackForm& form() { return form_; }
  InfoMenu& menu() { return menu_; }

 private:
  struct Embedded {
    Embedded(const std::string& screen_name, EventLoop& loop)
        : client(screen_name), kit(client, loop) {}
    EmbeddedClient client;
    ClientKit kit;
  };

  HostProgram(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
              std::unique_ptr<Embedded> embedded, ChatClient* chat, RoomFeed* room,
              ProgramWindows windows);

  EventLoop& loop_;
  std::unique_ptr<Embedded> embedded_;
  ChatClient& chat_;
  RoomFeed& room_;
  RandomSource random_;
  HeadlessWindow console_window_;
  HeadlessWindow splash_window_;
  HeadlessWindow form_window_;
  HostConsole console_;
  FeedbackForm form_;
  InfoMenu menu_;
  Splash splash_;
  // Last, so that it goes first: it observes the console and the room.
  std::unique_ptr<Autopilot> autopilot_;
};

}  // namespace zorvik
