// The desktop front end: the host on the embedded client with real windows
// (splash, console, info menu and boxes, feedback form) and a room window
// where anyone at the machine speaks in the room, all on the toolkit's loop.
#pragma once

#include <memory>
#include <string>

#include "app/host_program.h"

namespace zorvik {

class ConsoleView;
class FeedbackFormView;
class FlMessageBoxes;
class FlOwnWindow;
class FltkLoop;
class InfoMenuView;
class RoomView;
class SplashView;

struct DesktopOutcome {
  bool ran = false;        // false: no display, nothing was run
  int status = 0;          // the exit status when it ran
  std::string no_display;  // why not, when it did not run
};

// Opens the display and runs the host until "exit". Without a display (or
// in a build without the desktop) it runs nothing and says why.
DesktopOutcome RunDesktop(const ProgramOptions& options);

// The desktop's parts, wired. Precondition: the display is open
// (OpenDesktopDisplay). Used by RunDesktop and by the smoke test.
class Desktop {
 public:
  explicit Desktop(const ProgramOptions& options);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // Shows the room window and schedules the program's start (the splash
  // loads). Run the loop afterwards.
  void Start();

  FltkLoop& loop();
  HostProgram& program();
  FlMessageBoxes& boxes();
  ConsoleView& console_view();
  SplashView& splash_view();
  FeedbackFormView& form_view();
  RoomView& room_view();
  FlOwnWindow& console_window();
  FlOwnWindow& splash_window();
  FlOwnWindow& form_window();
  FlOwnWindow& room_window();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace zorvik
