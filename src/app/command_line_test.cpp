#include "app/command_line.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// Every mode reads "--option=VALUE" as "--option VALUE", the first '='
// splitting; help and version win wherever they stand.
TEST(CommandLineTest, ModesAndValuesInEitherForm) {
  EXPECT_EQ(ParseCommandLine({}).command.mode, Mode::kConsole);
  EXPECT_EQ(ParseCommandLine({"--version"}).command.mode, Mode::kVersion);
  EXPECT_EQ(ParseCommandLine({"-h"}).command.mode, Mode::kHelp);
  EXPECT_EQ(ParseCommandLine({"demo", "--help"}).command.mode, Mode::kHelp);
  EXPECT_EQ(ParseCommandLine({"irc", "--seed=1", "-h"}).command.mode, Mode::kHelp);

  const ParsedCommandLine console =
      ParseCommandLine({"--seed=5", "--screen-name=a=b", "--text", "--autopilot"});
  const CommandLine& c = console.command;
  EXPECT_EQ(std::tie(console.error, c.program.seed, c.program.screen_name, c.text_console),
            std::make_tuple("", 5u, "a=b", true));
  EXPECT_TRUE(c.program.autopilot);
  EXPECT_FALSE(ParseCommandLine({}).command.program.autopilot);

  const ParsedCommandLine replay =
      ParseCommandLine({"replay", "--seed", "18446744073709551615", "--screen-name", "Op", "-"});
  const CommandLine& r = replay.command;
  EXPECT_EQ(std::tie(replay.error, r.mode, r.program.seed, r.program.screen_name, r.replay_file),
            std::make_tuple("", Mode::kReplay, 18446744073709551615ULL, "Op", "-"));

  const ParsedCommandLine demo = ParseCommandLine(
      {"demo", "--speed=100", "--player1=Ann", "--creature1", "charmander", "--seed", "3",
       "--screen-name=Op"});
  const CommandLine& d = demo.command;
  EXPECT_EQ(std::tie(demo.error, d.demo.speed, d.demo.player1, d.demo.creature1, d.program.seed),
            std::make_tuple("", 100, "Ann", "charmander", 3u));
  EXPECT_EQ(ParseCommandLine({"demo"}).command.demo.speed, 1);

  const ParsedCommandLine irc =
      ParseCommandLine({"irc", "ircs://h/#b", "--nick=zhost", "--burst=10", "--seed=7",
                        "--lines-per-second=2.5", "--sasl-account=acct", "--log-keep=0"});
  const IrcClientSettings& i = irc.command.irc.client;
  EXPECT_EQ(std::tie(irc.error, i.nick, irc.command.program.screen_name, i.burst,
                     i.lines_per_second, i.sasl_account, i.sasl),
            std::make_tuple("", "zhost", "zhost", 10, 2.5, "acct", true));
  EXPECT_EQ(irc.command.irc.log_keep, 0u);
  EXPECT_EQ(irc.command.program.seed, 7u);
}

// What cannot be used, and why: values missing, malformed or given to a
// flag, and options that mean nothing in the mode they were given to.
TEST(CommandLineTest, RefusesWithTheReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--seed"}, "--seed needs a number"},
      {{"--seed="}, "--seed takes a whole number from 0 to 18446744073709551615, not \"\""},
      {{"--seed", "18446744073709551616"},
       "--seed takes a whole number from 0 to 18446744073709551615, not \"18446744073709551616\""},
      {{"--seed=-1"}, "--seed takes a whole number from 0 to 18446744073709551615, not \"-1\""},
      {{"--screen-name", ""}, "--screen-name needs a name"},
      {{"--screen-name="}, "--screen-name needs a name"}, {{"--text=x"}, "--text takes no value"},
      {{"--help=yes"}, "--help takes no value"},
      {{"replay", "--version="}, "--version takes no value"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--sasl=yes"}, "--sasl takes no value"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--insecure-skip-verify=1"},
       "--insecure-skip-verify takes no value"},
      {{"demo", "--speed"}, "--speed needs a number"},
      {{"demo", "--speed", "0"}, "--speed takes a whole number from 1 to 100, not \"0\""},
      {{"demo", "--speed=101"}, "--speed takes a whole number from 1 to 100, not \"101\""},
      {{"demo", "--speed=1.5"}, "--speed takes a whole number from 1 to 100, not \"1.5\""},
      {{"demo", "--speed= 2"}, "--speed takes a whole number from 1 to 100, not \" 2\""},
      {{"demo", "--creature1", "rockdragon"}, "\"rockdragon\" is not on the roster"},
      {{"demo", "--player2=DANA"}, "the two players need different names"},
      {{"demo", "--player1="}, "a player needs a screen name"},
      // Options in a mode where they mean nothing.
      {{"--player1", "x"}, "--player1 is for zorvik demo only"},
      {{"replay", "--creature2=x"}, "--creature2 is for zorvik demo only"},
      {{"--speed", "2"}, "--speed is for zorvik demo only"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--speed", "2"}, "--speed is for zorvik demo only"},
      {{"demo", "--text"},
       "--text is for zorvik alone, the only mode that would open desktop windows"},
      {{"replay", "--text"},
       "--text is for zorvik alone, the only mode that would open desktop windows"},
      {{"demo", "--autopilot"},
       "--autopilot is for zorvik and zorvik replay; zorvik irc takes it from its config's "
       "[autopilot]"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--screen-name", "x"},
       "--screen-name does nothing in zorvik irc, where the host's name is its --nick"},
      {{"--nick", "z"}, "--nick is for zorvik irc only"},
      {{"demo", "--config=x.toml"}, "--config is for zorvik irc only"},
      {{"replay", "--insecure-skip-verify"}, "--insecure-skip-verify is for zorvik irc only"},
      // Arguments nobody takes.
      {{"replay", "a", "b"}, "unexpected argument \"b\""},
      {{"demo", "x"}, "unexpected argument \"x\""}, {{"-"}, "unexpected argument \"-\""},
      {{"--bogus=1"}, "unknown option \"--bogus\""}, {{"--"}, "unknown option \"--\""},
      {{"-x\x1b[2J"}, "unknown option \"-x\\x1B[2J\""}, {{"-h=1"}, "unknown option \"-h=1\""},
  };
  for (const auto& [args, error] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.error, error);
    EXPECT_FALSE(parsed.config_error);
  }
}

}  // namespace
}  // namespace zorvik
