// The demo's runner on POSIX: the poll loop, and the log of lines or the
// full-screen console on the terminal.
#include <unistd.h>

#include <memory>

#include "console/console_front_end.h"
#include "console/console_printer.h"
#include "console/demo.h"
#include "bridge/loop/poll_loop.h"
#include "match/chat_text.h"

namespace zorvik {

int RunDemo(const ProgramOptions& options, const DemoOptions& demo, std::ostream& out,
            ConsoleDisplay display) {
  PollLoop loop(demo.speed);
  const std::unique_ptr<ConsoleFrontEnd> front =
      MakeConsoleFrontEnd(display, loop, STDIN_FILENO, out);
  std::ostream& notes = front->notes();
  HostProgram program(loop, front->boxes(), DemoProgramOptions(options));
  program.autopilot()->SetNoteSink(
      [&notes](const std::string& note) { notes << "[auto] " << note << std::endl; });
  // On a full screen the operator may join in; a log has no one typing.
  front->Attach(program, display == ConsoleDisplay::kFullScreen);
  DemoCast cast(program, demo, options.seed);
  cast.SetFinishAction([&](const std::string& winner) {
    notes << "[demo] " << Printable(winner) << " won: the match is over" << std::endl;
    // A log ends here; a screen stays until the operator leaves it.
    if (display == ConsoleDisplay::kFullScreen) {
      notes << "[demo] press F2 (exit) to leave" << std::endl;
    } else {
      loop.Quit();
    }
  });
  notes << "zorvik " << ZORVIK_VERSION << " demo: " << Printable(demo.player1) << " ("
        << Printable(demo.creature1) << ") against " << Printable(demo.player2) << " ("
        << Printable(demo.creature2) << ")" << std::endl;
  program.Start();
  loop.Run();
  return 0;
}

}  // namespace zorvik
