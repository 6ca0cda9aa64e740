// The console driven directly, for what a script cannot reach: hit points
// at the edge of fainting, and hit points that are not a number.
#include "match/host_console.h"

#include <gtest/gtest.h>

#include "bridge/kit/client_kit.h"
#include "bridge/kit/embedded_client.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {

using Lines = std::vector<std::string>;

// A match between tom (pikachu) and ann (bulbasaur), started and waiting
// for tom's first move; with seed 11 that move cheers with row 2 and does
// 37 damage.
class HostConsoleTest {
 public:
  HostConsoleTest() {
    console_.Show();
    Press(ConsoleButton::kGetPlayers);
    Say("tom", "-join");
    Say("ann", "-join");
    Press(ConsoleButton::kSetup);
    Say("tom", "/pikachu");
    Say("ann", "/bulbasaur");
    Press(ConsoleButton::kStart);
  }

  void Press(ConsoleButton button) {
    loop_.Post([this, button] { console_.Press(button); });
    loop_.Run();
  }
  // Says a line and runs everything it sets off, however long it takes.
  Lines Say(const std::string& name, const std::string& text) {
    const std::size_t from = client_.RoomHistory().size();
    client_.Say(name, text);
    loop_.Run();
    Lines lines;
    const auto& history = client_.RoomHistory();
    for (std::size_t i = from; i < history.size(); ++i) {
      if (history[i].screen_name == "host") lines.push_back(history[i].text);
    }
    return lines;
  }

  std::string& Hp(int player) {
    return player == 1 ? console_.table_.player1Hp : console_.table_.player2Hp;
  }
  const HostConsole& console() const { return console_; }

 private:
  VirtualLoop loop_;
  EmbeddedClient client_;
  ClientKit kit_{client_, loop_};
  RandomSource random_{11};
  HeadlessWindow window_{{0, 0, 361, 89}, {1920, 1080}};
  HostConsole console_{loop_, client_, kit_, random_, window_};
};

namespace {

const Lines kTomWins = {"pikachu, hit him with your thundershock attack!",
                        "-=|[pikachu did 37 points of damage!]|=-", "-=|[bulbasaur Fainted!]|=-",
                        "-=|[tom defeated ann]|=-"};

// 37 damage: exactly 0 or below faints, 1 left passes the turn; hit points
// that are not a whole number read as 0. Once a creature has fainted, both
// turn listeners are off and only "stop", "info" and "exit" can be pressed;
// a further move gets no answer.
TEST(HostConsoleHitPointsTest, FaintsAtZeroAndBelowNotAtOne) {
  struct Case {
    std::string hp, after;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"37", "", kTomWins}, {"20", "", kTomWins},
      {"38", "1",
       {"pikachu, hit him with your thundershock attack!",
        "-=|[pikachu did 37 points of damage!]|=-", "-=|[pikachu: 500/500]|=-",
        "-=|[bulbasaur: 1/500]|=-", "-=|[ann choose your attack]|=-"}},
      {"12.5", "", kTomWins}, {"", "", kTomWins}, {"99999999999999999999", "", kTomWins},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("hp " + c.hp);
    HostConsoleTest match;
    match.Hp(2) = c.hp;
    EXPECT_EQ(match.Say("tom", "/thundershock"), c.lines);
    EXPECT_EQ(match.Hp(2), c.after);
    if (!c.after.empty()) continue;
    EXPECT_EQ(match.Say("ann", "/tackle"), Lines{});
    EXPECT_EQ(match.Say("tom", "/thundershock"), Lines{});
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(match.console().Listening(n)) << n;
    const ConsoleSwitches& s = match.console().switches();
    EXPECT_FALSE(s.getplayers || s.setit || s.startgame);
    EXPECT_TRUE(s.stopgame && s.gamecontrol);
    EXPECT_EQ(match.console().table().seat1Caption, "player1:[none]");
    EXPECT_EQ(match.console().table().player1Creature, "");
  }
}

}  // namespace
}  // namespace zorvik
