#include "service/player_help.h"

#include <gtest/gtest.h>

#include "bridge/loop/virtual_loop.h"
#include "gamedata/roster.h"

namespace zorvik {
namespace {

// Requests are answered to the asker alone, once a minute a person and a
// request; anything else is not a request.
TEST(PlayerHelpTest, AnswersByNoticeOnceAMinute) {
  VirtualLoop loop;
  std::vector<std::string> sent;  // "nick: first line"
  PlayerHelp help(loop, [&](const std::string& nick, const std::string& text) {
    sent.push_back(nick + ": " + text.substr(0, text.find('\n')));
  });
  AutopilotSettings autopilot;
  help.AddChannel("#battles", autopilot);
  help.AddChannel("#quiet", std::nullopt);
  const struct {
    double at;
    std::string nick, channel, text;
    bool request;
    std::string answer;  // "" for none
  } kCases[] = {
      {0, "ann", "#battles", "+help", true, "ann: zorvik battles in #battles, two players a match:"},
      {1, "ANN", "#battles", " +HELP ", true, ""},  // the same person within the minute
      {2, "ann", "#battles", "+roster", true, "ann: the 150 creatures:"},
      {3, "bob", "", "+help", true, "bob: zorvik battles in #battles, two players a match:"},
      {4, "bob", "#quiet", "+help please", false, ""}, {5, "bob", "#quiet", "-join", false, ""},
      {61, "ann", "#quiet", "+help", true, "ann: zorvik battles in #quiet, two players a match:"},
  };
  for (const auto& c : kCases) {
    loop.Wait(SecondsToMicros(c.at) - loop.Now());
    sent.clear();
    EXPECT_EQ(help.Hear(c.nick, c.channel, c.text), c.request) << c.at;
    EXPECT_EQ(sent, c.answer.empty() ? std::vector<std::string>{}
                                     : std::vector<std::string>{c.answer})
        << c.at;
  }
}

// +help says how a match starts and what the limits are where the
// autopilot runs; +roster holds every name in a few lines.
TEST(PlayerHelpTest, TellsHowToPlayAndListsTheRoster) {
  VirtualLoop loop;
  std::string roster;
  PlayerHelp help(loop, [&](const std::string&, const std::string& text) { roster = text; });
  AutopilotSettings autopilot;
  autopilot.start_word = "!duel";
  help.AddChannel("#battles", autopilot);
  help.AddChannel("#quiet", std::nullopt);
  EXPECT_EQ(help.HelpText("#battles"),
            "zorvik battles in #battles, two players a match:\n"
            "!duel starts a match when none is running; then -join to take one of the two seats\n"
            "pick your creature with a slash and its name, e.g. /pikachu (+roster lists them all)\n"
            "on your turn attack with a slash and a move, e.g. /thundershock; +moves lists yours\n"
            "you have 2 minutes to pick and 2 minutes a turn; a player who leaves forfeits after "
            "1 minute");
  EXPECT_NE(help.HelpText("#QUIET").find("an operator opens each match"), std::string::npos);
  EXPECT_EQ(help.HelpText("#QUIET").find("you have"), std::string::npos);

  ASSERT_TRUE(help.Hear("ann", "#battles", "+roster"));
  std::size_t lines = 0, names = 0;
  for (std::size_t start = 0; start < roster.size(); ++lines) {
    const std::size_t end = std::min(roster.find('\n', start), roster.size());
    EXPECT_LE(end - start, 400u);
    start = end + 1;
  }
  for (std::string_view name : Roster()) names += roster.find(name) != std::string::npos;
  EXPECT_LE(lines, 6u);
  EXPECT_EQ(names, kRosterSize);
}

}  // namespace
}  // namespace zorvik
