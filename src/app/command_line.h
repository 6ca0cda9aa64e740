// The command line: which front end runs, and with what.
#pragma once

#include <string>
#include <vector>

#include "app/demo.h"
#include "app/host_program.h"
#include "app/irc_options.h"

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
  std::string error;  // set when the arguments cannot be used
};

// `args` without the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace zorvik
