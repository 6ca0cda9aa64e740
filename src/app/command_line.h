// The command line: which front end runs, and with what.
#pragma once

#include <string>
#include <vector>

#include "console/demo.h"
#include "app/host_program.h"
#include "service/irc_options.h"

namespace zorvik {

enum class Mode { kConsole, kDemo, kReplay, kIrc, kHelp, kVersion };

struct CommandLine {
  Mode mode = Mode::kConsole;
  ProgramOptions program;
  DemoOptions demo;
  std::string replay_file;    // empty or "-" for standard input
  bool text_console = false;  // --text: the terminal even with a display
  IrcOptions irc;
};

struct ParsedCommandLine {
  CommandLine command;
  std::string error;          // set when the arguments cannot be used
  bool config_error = false;  // the error is the config file's, not the command line's
};

// `args` without the program name. Every option with a value may be given
// as "--name VALUE" or "--name=VALUE"; an option that means nothing in the
// mode is refused, saying why. For irc, the config file (--config) is read
// first and the other options override it.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace zorvik
