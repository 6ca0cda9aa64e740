#include "app/command_line.h"

#include <charconv>

#include "app/console_printer.h"
#include "app/irc_config.h"

namespace zorvik {

namespace {

bool ParseSeed(const std::string& text, std::uint64_t& seed) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, seed);
  return error == std::errc() && ptr == end;
}

}  // namespace

std::string UsageText() {
  return "usage: zorvik [OPTIONS] [--text]        host a match: in desktop windows when\n"
         "                                        there is a display, else (or with --text)\n"
         "                                        in this terminal\n"
         "       zorvik demo [OPTIONS] [PLAYERS]  watch a whole match between two simulated\n"
         "                                        players, in real time\n"
         "       zorvik replay [OPTIONS] [FILE]   replay a script (standard input when FILE\n"
         "                                        is absent or -) and print its transcript\n"
         "       zorvik irc URL --nick NICK [OPTIONS]  host in an IRC channel\n"
         "\n"
         "OPTIONS\n"
         "  --seed N            start the dice at N (0 to 18446744073709551615; default 0)\n"
         "  --screen-name NAME  the operator's screen name in the room (default host)\n"
         "  --text              host in this terminal even when there is a display\n"
         "  --help              this text\n"
         "  --version           the program's version\n"
         "\n"
         "PLAYERS (demo only)\n"
         "  --player1 NAME --player2 NAME         screen names (default Dana, Lou)\n"
         "  --creature1 NAME --creature2 NAME     their picks (default pikachu, bulbasaur)\n"
         "\n" +
         IrcUsageText() +
         "\n"
         "The host runs on its embedded chat client: the room is printed as it scrolls,\n"
         "and in the terminal you press buttons by typing their captions (type help).\n";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CommandLine& command = parsed.command;
  std::size_t i = 0;
  if (i < args.size() && (args[i] == "replay" || args[i] == "demo" || args[i] == "irc")) {
    command.mode = args[i] == "replay" ? Mode::kReplay
                   : args[i] == "demo" ? Mode::kDemo
                                       : Mode::kIrc;
    ++i;
  }
  bool have_file = false;
  const auto fail = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };
  if (command.mode == Mode::kIrc) {
    // The config file comes first, so that every other option overrides it.
    for (std::size_t at = i; at < args.size(); ++at) {
      if (args[at] != "--config") continue;
      if (at + 1 >= args.size()) return fail("--config needs a file");
      const std::string problem = ReadIrcConfig(args[at + 1], command.irc);
      if (!problem.empty()) return fail(problem);
      break;
    }
  }
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      command.mode = Mode::kHelp;
      return parsed;
    } else if (arg == "--version") {
      command.mode = Mode::kVersion;
      return parsed;
    } else if (arg == "--seed") {
      if (!value(text)) return fail("--seed needs a number");
      if (!ParseSeed(text, command.program.seed)) {
        return fail("--seed takes a whole number from 0 to 18446744073709551615, not \"" +
                    Printable(text) + "\"");
      }
    } else if (arg == "--text" && command.mode == Mode::kConsole) {
      command.text_console = true;
    } else if (arg == "--screen-name") {
      if (!value(text) || text.empty()) return fail("--screen-name needs a name");
      command.program.screen_name = text;
    } else if (command.mode == Mode::kDemo && (arg == "--player1" || arg == "--player2" ||
                                               arg == "--creature1" || arg == "--creature2")) {
      std::string& into = arg == "--player1"     ? command.demo.player1
                          : arg == "--player2"   ? command.demo.player2
                          : arg == "--creature1" ? command.demo.creature1
                                                 : command.demo.creature2;
      if (!value(into)) return fail(arg + " needs a value");
    } else if (command.mode == Mode::kIrc && ParseIrcArgument(args, i, command.irc, text)) {
      if (!text.empty()) return fail(text);
    } else if (command.mode == Mode::kReplay && !have_file &&
               (arg == "-" || !arg.starts_with('-'))) {
      command.replay_file = arg;
      have_file = true;
    } else if (arg.starts_with('-')) {
      return fail("unknown option \"" + Printable(arg) + "\"");
    } else {
      return fail("unexpected argument \"" + Printable(arg) + "\"");
    }
  }
  if (command.mode == Mode::kDemo) {
    const std::string problem = CheckDemoOptions(command.demo);
    if (!problem.empty()) return fail(problem);
  }
  if (command.mode == Mode::kIrc) {
    const std::string problem = CheckIrcOptions(command.irc);
    if (!problem.empty()) return fail(problem);
    command.program.screen_name = command.irc.client.nick;
  }
  return parsed;
}

}  // namespace zorvik
