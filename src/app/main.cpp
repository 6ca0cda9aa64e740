// zorvik: a chat-room game host.
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/command_line.h"
#include "app/demo.h"
#include "app/desktop.h"
#include "app/irc_console.h"
#include "app/replay.h"
#include "app/text_console.h"

namespace {

// Runs the replay of `file`, or of standard input for "" and "-". The
// replay reads its script twice: a file is read from disk both times, while
// standard input (a pipe, perhaps) is held in memory between the two.
int Replay(const std::string& file, const zorvik::ProgramOptions& options) {
  const auto fail = [](const std::string& reason) {
    std::cerr << "error: " << reason << '\n';
    return 2;
  };
  int status = 0;
  if (file.empty() || file == "-") {
    std::stringstream script;
    script << std::cin.rdbuf();
    if (std::cin.bad()) return fail("cannot read standard input");
    status = zorvik::RunReplay(script, options, std::cout, std::cerr);
  } else {
    std::ifstream script(file, std::ios::binary);
    if (!script) return fail("cannot open " + file);
    status = zorvik::RunReplay(script, options, std::cout, std::cerr);
  }
  std::cout.flush();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const zorvik::ParsedCommandLine parsed = zorvik::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    std::cerr << "zorvik: " << parsed.error << " (see zorvik --help)\n";
    return 2;
  }
  const zorvik::CommandLine& command = parsed.command;
  // Full screen on a terminal; a log of lines for pipes and services.
  const zorvik::ConsoleDisplay display = zorvik::ChooseDisplay(STDIN_FILENO, STDOUT_FILENO);
  switch (command.mode) {
    case zorvik::Mode::kHelp:
      std::cout << zorvik::UsageText();
      return 0;
    case zorvik::Mode::kVersion:
      std::cout << "zorvik " << ZORVIK_VERSION << '\n';
      return 0;
    case zorvik::Mode::kReplay:
      return Replay(command.replay_file, command.program);
    case zorvik::Mode::kDemo:
      return zorvik::RunDemo(command.program, command.demo, std::cout, display);
    case zorvik::Mode::kIrc: {
      zorvik::IrcOptions irc = command.irc;
      if (const char* password = std::getenv(zorvik::kIrcPasswordVariable)) {
        irc.client.password = password;
      }
      if (irc.client.sasl && irc.client.password.empty()) {
        std::cerr << "zorvik: SASL needs the password in " << zorvik::kIrcPasswordVariable
                  << " or in the config file's sasl.password_file\n";
        return 2;
      }
      // A server that hangs up mid-write must not end the program.
      std::signal(SIGPIPE, SIG_IGN);
      return zorvik::RunIrcConsole(command.program, irc, STDIN_FILENO, std::cout, display);
    }
    case zorvik::Mode::kConsole:
      if (!command.text_console) {
        const zorvik::DesktopOutcome desktop = zorvik::RunDesktop(command.program);
        if (desktop.ran) return desktop.status;
        std::cerr << "zorvik: no display (" << desktop.no_display << "); using the text console\n";
      }
      return zorvik::RunTextConsole(command.program, STDIN_FILENO, std::cout, display);
  }
  return 0;
}
