// zorvik: a chat-room game host.
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <iostream>

#include "app/command_line.h"
#include "console/demo.h"
#include "app/desktop.h"
#include "service/irc_console.h"
#include "service/match_log.h"
#include "replay/replay.h"
#include "console/text_console.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const zorvik::ParsedCommandLine parsed = zorvik::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    // A config file's error names its file and line; the usage would not help.
    std::cerr << "zorvik: " << parsed.error << (parsed.config_error ? "" : " (see zorvik --help)")
              << '\n';
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
      return zorvik::RunReplayFile(command.replay_file, command.program, std::cout, std::cerr);
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
      if (!irc.log_folder.empty()) {
        const std::string problem = zorvik::PrepareLogFolder(irc.log_folder);
        if (!problem.empty()) {
          std::cerr << "zorvik: " << problem << '\n';
          return 1;
        }
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
