// The splash window: the program's first window. Its load announces the
// host in the room; a click on its picture (or the label on it) hides it and
// shows the console. A model: views draw it and forward clicks.
#pragma once

#include <functional>
#include <vector>

#include "bridge/chat_client.h"
#include "bridge/own_window.h"
#include "match/host_console.h"

namespace zorvik {

class Splash {
 public:
  // All three must outlive the splash. `window` is the splash's own window.
  Splash(ChatClient& client, OwnWindow& window, HostConsole& console);
  Splash(const Splash&) = delete;
  Splash& operator=(const Splash&) = delete;

  // Adds an observer called whenever the splash is shown or hidden. Observers
  // must not dispatch; they may schedule tasks.
  void AddVisibilityObserver(std::function<void(bool shown)> observer);

  // The load sequence, then the splash is shown: on top, centred in the
  // upper part of the screen, four lines said in the room first. Takes
  // about two seconds and dispatches (re-enters) meanwhile.
  void Load();

  // A click on the picture or its label. Does nothing unless the splash is
  // shown; returns whether it did something. May dispatch (the console's
  // start-up).
  bool Click();

  bool shown() const { return shown_; }

 private:
  void SetShown(bool shown);

  ChatClient& client_;
  OwnWindow& window_;
  HostConsole& console_;
  bool shown_ = false;
  std::vector<std::function<void(bool)>> observers_;
};

}  // namespace zorvik
