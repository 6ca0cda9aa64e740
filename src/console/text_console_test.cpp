#include "console/text_console.h"

#include <sstream>

#include <gtest/gtest.h>

#include "console/console_printer.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

// The terminal's commands against a real host on virtual time.
class TextConsoleTest : public ::testing::Test {
 protected:
  TextConsoleTest() {
    program_.Start();
    loop_.Run();
    program_.splash().Click();
  }

  std::string Type(const std::string& command) {
    out_.str("");
    loop_.Post([this, command] { RunConsoleCommand(program_, command, out_); });
    loop_.Run();
    return out_.str();
  }

  VirtualLoop loop_;
  std::ostringstream out_;
  PrintedBoxes boxes_{out_};
  HostProgram program_{loop_, boxes_, ProgramOptions{}};
};

TEST_F(TextConsoleTest, ButtonsSpeakingAndRefusals) {
  EXPECT_EQ(Type("setup"),
            "[?] \"setup\" waits for two players: press get players and let two people type "
            "-join (type help)\n");
  EXPECT_EQ(Type("dance"), "[?] unknown command \"dance\" (type help)\n");
  EXPECT_EQ(Type("\x1b[2J"), "[?] unknown command \"\\x1B[2J\" (type help)\n");
  Type("  get players  ");
  EXPECT_TRUE(program_.console().Listening(1));
  Type("Alice Smith: -join");
  Type("bob:-join");
  const auto& history = program_.client().RoomHistory();
  ASSERT_GE(history.size(), 2u);
  EXPECT_EQ(program_.console().table().seat1Caption, "player1:[alice smith]");
  EXPECT_EQ(program_.console().table().seat2Caption, "player2:[bob]");
  EXPECT_NE(Type("show").find("buttons: exit, setup, stop, info"), std::string::npos);
}

TEST_F(TextConsoleTest, MenuAndForm) {
  EXPECT_EQ(Type("form bug report"), "[?] the feedback form is not shown (type help)\n");
  EXPECT_EQ(Type("menu quit"), "[?] the info menu has about, mail me and help (type help)\n");
  const std::string about = Type("menu about");
  EXPECT_EQ(about.rfind("[box] ab\u00f8u\u2020 z\u00f8rv\u00efk by va\u00f1d\u00f8r\n", 0), 0u);
  // Ten lines and the OK button.
  EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 12);

  Type("menu mail me");
  EXPECT_TRUE(program_.form().shown());
  Type("form text hi\\nthere");
  EXPECT_EQ(program_.form().text(), "hi\r\nthere");
  Type("form exit");
  EXPECT_FALSE(program_.form().shown());
}

TEST_F(TextConsoleTest, TheLogPrintsStateChangesAndNoLineTwice) {
  // Given a printer on a terminal that echoes typing: the state is printed
  // when a seat changes, not when only a listener does; the operator's own
  // line is not printed again as the room's, but other people's are.
  std::ostringstream log;
  ConsolePrinter printer(program_, log);
  const SpokenObserver echoed = [&printer](const std::string& name, const std::string& text) {
    printer.SkipEcho(name, text);
  };
  const auto type = [&](const std::string& command) {
    log.str("");
    loop_.Post([&] { RunConsoleCommand(program_, command, out_, echoed); });
    loop_.Run();
    return log.str();
  };
  type("get players");
  EXPECT_EQ(type("alice: -join"),
            "[console] player1:[alice] | player2:[none] | buttons: get players, exit, info\n"
            "host: -=|[alice has joined the game]|=-\n");
  program_.client().Say("carol", "hi");
  loop_.Run();
  EXPECT_EQ(log.str().substr(log.str().rfind("carol")), "carol: hi\n");
  EXPECT_EQ(type("say hello"), "");
  EXPECT_EQ(Type("show"), "[console] player1:[alice] | player2:[none] | buttons: get players, "
                          "exit, info | listening for: joins\n");
}

TEST_F(TextConsoleTest, ShowSaysWhatTheHostListensFor) {
  // Given a whole opening: `show` names what the host waits for in the
  // room at each step, and the log says when "start" and "stop" switch the
  // operator's instant messages, not where the switch is sent.
  std::ostringstream log;
  ConsolePrinter printer(program_, log);
  const auto listening = [this] {
    const std::string shown = Type("show");
    return shown.substr(shown.find(" | listening for: ") + 3);
  };
  const std::pair<std::string, std::string> steps[] = {
      {"show", "nothing"}, {"get players", "joins"}, {"alice: -join", "joins"},
      {"bob: -join", "nothing"}, {"setup", "player 1's pick"},
      {"alice: /pikachu", "player 2's pick"}, {"bob: /bulbasaur", "nothing"},
      {"start", "player 1's attack"},
      {"alice: /thundershock", "player 2's attack"}, {"stop", "nothing"}};
  for (const auto& [typed, listened] : steps) {
    Type(typed);
    EXPECT_EQ(listening(), "listening for: " + listened + "\n") << typed;
  }
  const std::size_t off = log.str().find("[client] instant messages switched off\n");
  EXPECT_NE(off, std::string::npos) << log.str();
  EXPECT_NE(log.str().find("[client] instant messages switched on\n", off), std::string::npos)
      << log.str();
  EXPECT_EQ(log.str().find("$IM_"), std::string::npos) << log.str();
}

}  // namespace
}  // namespace zorvik
