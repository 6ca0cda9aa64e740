// The text console's runner on POSIX: the poll loop, and the log of lines
// or the full-screen console on the terminal.
#include <memory>

#include "console/console_front_end.h"
#include "console/text_console.h"
#include "bridge/loop/poll_loop.h"
#include "match/chat_text.h"

namespace zorvik {

int RunTextConsole(const ProgramOptions& options, int input, std::ostream& out,
                   ConsoleDisplay display) {
  PollLoop loop;
  const std::unique_ptr<ConsoleFrontEnd> front = MakeConsoleFrontEnd(display, loop, input, out);
  HostProgram program(loop, front->boxes(), options);
  program.splash().AddVisibilityObserver([&](bool shown) {
    if (!shown) return;
    // A terminal has no picture to click: the console opens at once.
    loop.Post([&program] { program.splash().Click(); });
  });
  program.console().SetExitAction([&] { front->notes() << "[exit] goodbye" << std::endl; });
  if (Autopilot* autopilot = program.autopilot()) {
    autopilot->SetNoteSink([&](const std::string& note) {
      front->notes() << "[auto] " << note << std::endl;
    });
  }
  front->Attach(program, true);

  front->notes() << "zorvik " << ZORVIK_VERSION << " on the embedded client; you are \""
                 << Printable(options.screen_name) << "\". Type help for commands." << std::endl;
  if (options.autopilot) {
    front->notes() << "[auto] the autopilot runs the matches: " << options.autopilot->start_word
                   << " in the room starts one" << std::endl;
  }
  program.Start();
  loop.Run();
  return 0;
}

}  // namespace zorvik
