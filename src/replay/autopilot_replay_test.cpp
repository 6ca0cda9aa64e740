// The autopilot in virtual time: whole matches run by their players with
// nobody at the buttons, time limits, leavers and operators who step in.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/virtual_loop.h"
#include "replay/replay.h"
#include "console/console_printer.h"

namespace zorvik {
namespace {

struct Said {
  double time;
  std::string who, text;  // who: a screen name, or "console" for a button's caption
};

AutopilotSettings Quick() {
  AutopilotSettings settings;
  settings.pick_time = 20 * kMicrosPerSecond;
  settings.turn_time = 20 * kMicrosPerSecond;
  settings.leave_grace = 15 * kMicrosPerSecond;
  return settings;
}

// The transcript of a replay with the autopilot, as "time<TAB>who<TAB>text"
// records.
std::vector<std::string> ReplayWith(const std::vector<Said>& script,
                                    const AutopilotSettings& settings = Quick()) {
  std::string text = "2.5\tclick\tsplash\n";
  for (const Said& said : script) {
    text += std::to_string(said.time) +
            (said.who == "console" ? "\tclick\tconsole\t" : "\tsay\t" + said.who + "\t") +
            said.text + "\n";
  }
  ProgramOptions options;
  options.autopilot = settings;
  std::istringstream in(text);
  std::ostringstream out, errors;
  EXPECT_EQ(RunReplay(in, options, out, errors), 0) << errors.str();
  std::vector<std::string> records;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) records.push_back(line);
  return records;
}

// The time of the first record at or after `from` whose text contains
// `part`, or -1.
double TimeOf(const std::vector<std::string>& records, const std::string& part, double from = 0) {
  for (const std::string& record : records) {
    const double time = std::stod(record);
    if (time >= from && record.find(part) != std::string::npos) return time;
  }
  return -1;
}

int Count(const std::vector<std::string>& records, const std::string& part) {
  int count = 0;
  for (const std::string& record : records) count += record.find(part) != std::string::npos;
  return count;
}

const std::vector<Said> kSeated = {
    {5, "Tom", "+battle"}, {10, "Tom", "-join"}, {11, "Ann", "-join"}};

std::vector<Said> Seated(std::vector<Said> more) {
  std::vector<Said> script = kSeated;
  script.insert(script.end(), more.begin(), more.end());
  return script;
}

// +battle opens the join phase at once; setup, start and stop each follow
// two seconds after the host's last line; with rematch the next match opens
// on its own after the quiet gap.
TEST(AutopilotReplayTest, PlayersRunWholeMatchesThemselves) {
  std::vector<Said> script = Seated({{20, "Tom", "/pikachu"}, {25, "Ann", "/mew"}});
  for (int round = 0; round < 40; ++round) {
    script.push_back({40.0 + 6 * round, "Tom", "/thunder"});
    script.push_back({43.0 + 6 * round, "Ann", "/psychic"});
  }
  AutopilotSettings settings = Quick();
  settings.rematch = true;
  settings.rematch_gap = 30 * kMicrosPerSecond;
  const std::vector<std::string> records = ReplayWith(script, settings);

  EXPECT_EQ(TimeOf(records, "accepting players"), 6.02);
  // "no more space" is said at 12.01 and its pause ends at 12.52.
  EXPECT_EQ(TimeOf(records, "enter zorvik name"), 14.52);
  // start is enabled mid-announcement; the press waits for its end (29.07)
  // and then at most one more gap.
  const double start = TimeOf(records, "$IM_Off");
  EXPECT_GT(start, 29.07);
  EXPECT_LT(start, 29.07 + 2.2);
  const double won = TimeOf(records, " defeated ");
  ASSERT_GT(won, 0);
  // stop (instant messages back on, which takes the client 0.11 s) two
  // seconds after the victory line's pause; the next match 30 s after that.
  const double stop = TimeOf(records, "$IM_On", won);
  EXPECT_NEAR(stop, won + 0.51 + 2 + 0.11, 0.001);
  EXPECT_NEAR(TimeOf(records, "accepting players", won), stop + 30 + 1.02, 0.001);
  EXPECT_EQ(Count(records, "enter zorvik name"), 1);
  EXPECT_EQ(Count(records, "ran out of time"), 0);
}

// A player who is waited for is reminded at half the limit and forfeits at
// its end; the other player wins and the match is stopped.
TEST(AutopilotReplayTest, IdlePlayersAreRemindedThenForfeit) {
  const struct {
    std::vector<Said> script;
    std::string prompt;  // the line after which the idle player is waited for
    std::string reminder;
    std::string forfeit;
  } kCases[] = {
      {Seated({}), "tom enter your zorvik first", "tom has 10 seconds left to pick a zorvik",
       "tom ran out of time: ann wins"},
      {Seated({{20, "Tom", "/pikachu"}}), "ann type in a valid zorvik name",
       "ann has 10 seconds left to pick a zorvik", "ann ran out of time: tom wins"},
      {Seated({{20, "Tom", "/pikachu"}, {25, "Ann", "/mew"}}), "tom choose your attack",
       "tom has 10 seconds left to attack", "tom ran out of time: ann wins"},
      {Seated({{20, "Tom", "/pikachu"}, {25, "Ann", "/mew"}, {40, "Tom", "/thunder"},
               {50, "Tom", "/thunder"}}),
       "ann choose your attack", "ann has 10 seconds left to attack",
       "ann ran out of time: tom wins"},
  };
  for (const auto& c : kCases) {
    const std::vector<std::string> records = ReplayWith(c.script);
    const double prompt = TimeOf(records, c.prompt);
    ASSERT_GT(prompt, 0) << c.prompt;
    // The player is waited for once the prompt's line has been said.
    EXPECT_NEAR(TimeOf(records, c.reminder), prompt + 0.51 + 10, 0.01) << c.prompt;
    const double forfeit = TimeOf(records, c.forfeit);
    EXPECT_NEAR(forfeit, prompt + 0.51 + 20, 0.01) << c.prompt;
    EXPECT_NEAR(TimeOf(records, "$IM_On", forfeit), forfeit + 0.51 + 0.11, 0.001) << c.prompt;
    EXPECT_EQ(Count(records, "ran out of time"), 1) << c.prompt;
  }
}

// Operators come first: their press is not repeated, restarts the timers,
// and their "stop" mid-match is announced as the match called off.
TEST(AutopilotReplayTest, OperatorsStepInFirst) {
  const std::vector<std::string> records =
      ReplayWith(Seated({{12.6, "console", "setup"}, {20, "Tom", "/pikachu"}, {30, "console", "stop"},
                  {60, "Ann", "+battle"}}));
  EXPECT_EQ(Count(records, "enter zorvik name"), 1);
  EXPECT_EQ(TimeOf(records, "enter zorvik name"), 12.6);
  EXPECT_EQ(TimeOf(records, "the match was called off"), 30);
  EXPECT_EQ(Count(records, "ran out of time"), 0);
  EXPECT_EQ(Count(records, "left to"), 0);  // Ann's reminder would have come at 31.02
  // Idle again: the next +battle opens a new match.
  EXPECT_EQ(TimeOf(records, "accepting players", 31), 61.02);
}

// Only the start word alone (any case, blanks around it) starts a match,
// and only while the console is idle.
TEST(AutopilotReplayTest, TheStartWordOpensTheJoinPhaseWhenIdle) {
  const struct {
    std::string said;
    bool opens;
  } kCases[] = {{"+battle", true},     {"  +BaTtLe ", true}, {"+battles", false},
                {"start +battle", false}, {"+battle!", false}, {"-join", false}};
  for (const auto& c : kCases) {
    const std::vector<std::string> records = ReplayWith({{5, "Tom", c.said}});
    EXPECT_EQ(Count(records, "accepting players"), c.opens ? 1 : 0) << c.said;
  }
  const std::vector<std::string> during = ReplayWith(Seated({{13, "Ann", "+battle"}}));
  EXPECT_EQ(Count(during, "accepting players"), 1);
}

// Leavers, through the back end's word: back within the grace, the match
// goes on; gone for good, they forfeit when it ends.
TEST(AutopilotReplayTest, LeaversForfeitAfterTheGrace) {
  for (const bool back : {true, false}) {
    VirtualLoop loop;
    std::ostringstream shown;
    PrintedBoxes boxes(shown);
    ProgramOptions options;
    options.autopilot = Quick();
    HostProgram program(loop, boxes, options);
    std::string all;  // the room's lines, "MILLISECONDS WHO: TEXT" each
    program.client().Subscribe([&](const std::string& who, const std::string& text) {
      all += std::to_string(loop.Now() / 1000) + " " + who + ": " + text + "\n";
    });
    const auto at = [&](double seconds, std::function<void()> action) {
      loop.ScheduleAt(SecondsToMicros(seconds), std::move(action));
    };
    program.Start();
    at(2.5, [&] { program.splash().Click(); });
    for (const Said& said : kSeated) {
      at(said.time, [&program, said] { program.client().Say(said.who, said.text); });
    }
    at(16, [&] { program.autopilot()->PersonLeft("TOM"); });
    if (back) at(25, [&] { program.autopilot()->PersonBack("tom"); });
    at(33, [&] { program.client().Say("Tom", "/pikachu"); });
    loop.Run();
    EXPECT_EQ(all.find("31000 host: -=|[tom left the game: ann wins]|=-") != std::string::npos,
              !back)
        << all;
    EXPECT_EQ(all.find("tom selected pikachu") != std::string::npos, back) << all;
  }
}

}  // namespace
}  // namespace zorvik
