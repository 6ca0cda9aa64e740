#include "app/win32/win32_console.h"

#include <memory>

#include "console/console_printer.h"
#include "console/text_console.h"
#include "app/win32/standard_input.h"
#include "match/chat_text.h"

namespace zorvik {

int RunWin32Console(const ProgramOptions& options, Win32Client client, std::ostream& out) {
  Win32Loop loop;
  PrintedBoxes boxes(out);
  std::unique_ptr<Win32DesktopClient> desktop;
  std::unique_ptr<HostProgram> program;
  if (client == Win32Client::kDesktop) {
    desktop = std::make_unique<Win32DesktopClient>(loop);
    program = std::make_unique<HostProgram>(loop, boxes, options, desktop->kit, desktop->feed);
  } else {
    program = std::make_unique<HostProgram>(loop, boxes, options);
  }
  ConsolePrinter printer(*program, out);
  program->splash().AddVisibilityObserver([&](bool shown) {
    if (!shown) return;
    // A terminal has no picture to click: the console opens at once.
    loop.Post([&] { program->splash().Click(); });
  });
  program->console().SetExitAction([&] { out << "[exit] goodbye" << std::endl; });

  ConsoleInputLines lines(
      [&](std::string line) { PostConsoleCommand(loop, *program, std::move(line), out); }, out);
  Win32StandardInput input(
      loop, [&](std::string_view bytes) { lines.Feed(bytes); },
      [&] { out << "[input closed] the host runs on until nothing is left to do" << std::endl; });

  out << "zorvik " << ZORVIK_VERSION
      << (desktop ? " beside the desktop chat client" : " on the embedded client") << "; you are \""
      << Printable(options.screen_name) << "\". Type help for commands." << std::endl;
  program->Start();
  loop.Run();
  return 0;
}

}  // namespace zorvik
