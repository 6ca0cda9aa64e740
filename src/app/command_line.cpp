#include "app/command_line.h"

#include <charconv>

#include "console/console_printer.h"
#include "service/irc_config.h"

namespace zorvik {

namespace {

bool ParseSeed(const std::string& text, std::uint64_t& seed) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, seed);
  return error == std::errc() && ptr == end;
}

// The modes an option means something in.
constexpr unsigned kInConsole = 1, kInDemo = 2, kInReplay = 4, kInIrc = 8;
constexpr unsigned kInEvery = kInConsole | kInDemo | kInReplay | kInIrc;

unsigned ModeBit(Mode mode) {
  switch (mode) {
    case Mode::kDemo: return kInDemo;
    case Mode::kReplay: return kInReplay;
    case Mode::kIrc: return kInIrc;
    default: return kInConsole;
  }
}

// One option of the program's modes; irc's own are in irc_options.
struct Option {
  std::string_view name;
  std::string_view value;    // what its value is, "a number"; empty for a flag
  unsigned modes;            // where it means something
  std::string_view refusal;  // why it is refused elsewhere, said after its name
  // Applies `value` (empty for a flag); returns the problem, or empty.
  std::string (*apply)(const std::string& value, CommandLine& command);
};

constexpr std::string_view kDemoOnly = "is for zorvik demo only";

std::string DemoName(const std::string& value, std::string& into) {
  into = value;
  return {};
}

constexpr Option kOptions[] = {
    {"--help", "", kInEvery, "",
     [](const std::string&, CommandLine& command) {
       command.mode = Mode::kHelp;
       return std::string();
     }},
    {"-h", "", kInEvery, "",
     [](const std::string&, CommandLine& command) {
       command.mode = Mode::kHelp;
       return std::string();
     }},
    {"--version", "", kInEvery, "",
     [](const std::string&, CommandLine& command) {
       command.mode = Mode::kVersion;
       return std::string();
     }},
    {"--seed", "a number", kInEvery, "",
     [](const std::string& value, CommandLine& command) {
       if (ParseSeed(value, command.program.seed)) return std::string();
       return "--seed takes a whole number from 0 to 18446744073709551615, not \"" +
              Printable(value) + "\"";
     }},
    {"--screen-name", "a name", kInConsole | kInDemo | kInReplay,
     "does nothing in zorvik irc, where the host's name is its --nick",
     [](const std::string& value, CommandLine& command) {
       command.program.screen_name = value;
       return value.empty() ? "--screen-name needs a name" : std::string();
     }},
    {"--autopilot", "", kInConsole | kInReplay,
     "is for zorvik and zorvik replay; zorvik irc takes it from its config's [autopilot]",
     [](const std::string&, CommandLine& command) {
       command.program.autopilot = AutopilotSettings{};
       return std::string();
     }},
    {"--text", "", kInConsole,
     "is for zorvik alone, the only mode that would open desktop windows",
     [](const std::string&, CommandLine& command) {
       command.text_console = true;
       return std::string();
     }},
    {"--player1", "a name", kInDemo, kDemoOnly,
     [](const std::string& value, CommandLine& command) {
       return DemoName(value, command.demo.player1);
     }},
    {"--player2", "a name", kInDemo, kDemoOnly,
     [](const std::string& value, CommandLine& command) {
       return DemoName(value, command.demo.player2);
     }},
    {"--creature1", "a name", kInDemo, kDemoOnly,
     [](const std::string& value, CommandLine& command) {
       return DemoName(value, command.demo.creature1);
     }},
    {"--creature2", "a name", kInDemo, kDemoOnly,
     [](const std::string& value, CommandLine& command) {
       return DemoName(value, command.demo.creature2);
     }},
    {"--speed", "a number", kInDemo, kDemoOnly,
     [](const std::string& value, CommandLine& command) {
       int speed = 0;
       const char* end = value.data() + value.size();
       const auto [ptr, error] = std::from_chars(value.data(), end, speed);
       if (error != std::errc() || ptr != end || speed < 1 || speed > kFastestDemo) {
         return "--speed takes a whole number from 1 to " + std::to_string(kFastestDemo) +
                ", not \"" + Printable(value) + "\"";
       }
       command.demo.speed = speed;
       return std::string();
     }},
};

const Option* FindOption(std::string_view name) {
  for (const Option& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// Reads `args` on top of `irc` (the config file's settings, or none).
ParsedCommandLine ParseArguments(const std::vector<std::string>& args, IrcOptions irc) {
  ParsedCommandLine parsed;
  CommandLine& command = parsed.command;
  command.irc = std::move(irc);
  std::size_t i = 0;
  if (i < args.size() && (args[i] == "replay" || args[i] == "demo" || args[i] == "irc")) {
    command.mode = args[i] == "replay" ? Mode::kReplay
                   : args[i] == "demo" ? Mode::kDemo
                                       : Mode::kIrc;
    ++i;
  }
  const unsigned mode = ModeBit(command.mode);
  bool have_file = false;
  const auto fail = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-" || !arg.starts_with('-')) {
      if (command.mode == Mode::kReplay && !have_file) {
        command.replay_file = arg;
        have_file = true;
      } else if (command.mode == Mode::kIrc && !command.irc.url_from_args) {
        command.irc.url_from_args = true;
        const std::string problem = ParseIrcUrl(arg, command.irc);
        if (!problem.empty()) return fail(problem);
      } else {
        return fail("unexpected argument \"" + Printable(arg) + "\"");
      }
      continue;
    }
    // "--name=value" is "--name value" in one argument.
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const Option* option = FindOption(name);
    const IrcOption* irc_option = option ? nullptr : FindIrcOption(name);
    if (!option && !irc_option) return fail("unknown option \"" + Printable(name) + "\"");
    if (option && !(option->modes & mode)) return fail(name + " " + std::string(option->refusal));
    if (irc_option && mode != kInIrc) return fail(name + " is for zorvik irc only");
    const std::string_view needs = option ? option->value : irc_option->value;
    std::string value;
    if (equals != std::string::npos) {
      if (needs.empty()) return fail(name + " takes no value");
      value = arg.substr(equals + 1);
    } else if (!needs.empty()) {
      if (i + 1 >= args.size()) return fail(name + " needs " + std::string(needs));
      value = args[++i];
    }
    const std::string problem =
        option ? option->apply(value, command) : irc_option->apply(value, command.irc);
    if (!problem.empty()) return fail(problem);
    if (command.mode == Mode::kHelp || command.mode == Mode::kVersion) return parsed;
  }
  return parsed;
}

}  // namespace

std::string UsageText() {
  return "usage: zorvik [OPTIONS] [--text]        host a match: in desktop windows when\n"
         "                                        there is a display, else (or with\n"
         "                                        --text) in this terminal\n"
         "       zorvik demo [OPTIONS] [DEMO]     watch a whole match between two\n"
         "                                        simulated players, at the game's pace\n"
         "       zorvik replay [OPTIONS] [FILE]   replay a script (standard input when\n"
         "                                        FILE is absent or -) and print its\n"
         "                                        transcript\n"
         "       zorvik irc URL --nick NICK [OPTIONS]  host in an IRC channel\n"
         "\n"
         "OPTIONS (an option's value may also be given as --option=VALUE)\n"
         "  --seed N            start the dice at N (0 to 18446744073709551615; default 0)\n"
         "  --screen-name NAME  the operator's screen name in the room (default host;\n"
         "                      not with irc, where the host's name is its nick)\n"
         "  --text              host in this terminal even when there is a display\n"
         "                      (zorvik alone)\n"
         "  --autopilot         let the players run their matches: +battle in the room\n"
         "                      starts one, the buttons are pressed for them, and idle\n"
         "                      players forfeit (zorvik and zorvik replay)\n"
         "  -h, --help          this text\n"
         "  --version           the program's version\n"
         "\n"
         "DEMO (zorvik demo only)\n"
         "  --player1 NAME --player2 NAME         screen names (default Dana, Lou)\n"
         "  --creature1 NAME --creature2 NAME     their picks (default pikachu, bulbasaur)\n"
         "  --speed N                             play N times faster: the same match with\n"
         "                                        every wait N times shorter (1 to 100;\n"
         "                                        default 1)\n"
         "\n" +
         IrcUsageText() +
         "\n"
         "The host runs on its embedded chat client: the room is printed as it scrolls,\n"
         "and in the terminal you press buttons by typing their captions (type help).\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed = ParseArguments(args, IrcOptions{});
  CommandLine& command = parsed.command;
  if (!parsed.error.empty()) return parsed;
  if (command.mode == Mode::kDemo) parsed.error = CheckDemoOptions(command.demo);
  if (command.mode != Mode::kIrc) return parsed;
  if (!command.irc.config_file.empty()) {
    // The arguments are read again on top of the file, so that they win.
    IrcOptions from_file;
    parsed.error = ReadIrcConfig(command.irc.config_file, from_file);
    if (!parsed.error.empty()) {
      parsed.config_error = true;
      return parsed;
    }
    parsed = ParseArguments(args, std::move(from_file));
    if (!parsed.error.empty()) return parsed;
  }
  parsed.error = CheckIrcOptions(command.irc);
  command.program.screen_name = command.irc.client.nick;
  return parsed;
}

}  // namespace zorvik
