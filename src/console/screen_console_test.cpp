#include "console/screen_console.h"

#include <gtest/gtest.h>

#include "console/console_printer.h"
#include "service/irc_console.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

// The full-screen console against a real host on virtual time, drawn on
// virtual screens.
class ScreenConsoleTest : public ::testing::Test {
 protected:
  ScreenConsoleTest() {
    boxes_.screen = &screen_;
    program_.Start();
    loop_.Run();
    program_.splash().Click();
    loop_.Run();
  }

  // Runs each of `keys` as the terminal would, then everything it set going.
  void Key(std::initializer_list<int> keys) {
    for (int key : keys) {
      screen_.HandleKey(key);
      loop_.Run();
    }
  }
  void Key(int key) { Key({key}); }
  void Say(const std::string& name, const std::string& text) {
    program_.client().Say(name, text);
    loop_.Run();
  }
  VirtualScreen Drawn(int rows = 24, int cols = 80, InputLine input = {}) {
    VirtualScreen screen(rows, cols);
    screen_.Draw(screen, input);
    return screen;
  }
  // Seats `first` with pikachu and bob with bulbasaur and starts the battle.
  void PlayToBattle(const std::string& first = "alice") {
    Key(kKeyF1);
    Say(first, "-join");
    Say("bob", "-join");
    Key(kKeyF3);
    Say(first, "/pikachu");
    Say("bob", "/bulbasaur");
    Key(kKeyF4);
  }

  // The host's boxes are the screen's, which is made after the host.
  struct Proxy : MessageBoxes {
    ScreenConsole* screen = nullptr;
    void Show(const std::string& title, const std::string& text) override {
      screen->boxes().Show(title, text);
    }
  };

  VirtualLoop loop_;
  Proxy boxes_;
  HostProgram program_{loop_, boxes_, ProgramOptions{}};
  ScreenConsole screen_{program_, [this](const std::function<bool()>& done) {
                          while (!done() && !loop_.Quitting()) loop_.Wait(kMicrosPerSecond / 10);
                        }};
};

TEST_F(ScreenConsoleTest, LayoutKeepsSeatsOnTopAndInputAtBottomAtEverySize) {
  for (int i = 0; i < 60; ++i) Say("carol", "line " + std::to_string(i));
  const struct {
    int rows, cols;
    bool top;
  } sizes[] = {{30, 100, true}, {24, 80, true}, {11, 40, true}, {10, 40, false},
               {9, 30, false},  {3, 20, false},  {1, 10, false}, {0, 0, false}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.rows) + "x" + std::to_string(size.cols));
    const VirtualScreen screen = Drawn(size.rows, size.cols, InputLine{"alice: -jo", 10});
    if (size.rows == 0) continue;
    const int last = size.rows - 1;
    EXPECT_EQ(screen.RowText(last).substr(0, 2), "> ");
    EXPECT_EQ(screen.cursor_row, last);
    EXPECT_EQ(screen.cursor_col, std::min(size.cols - 1, 12));
    if (size.top) {
      EXPECT_EQ(screen.RowText(1).rfind(" player1:[none]", 0), 0u);
      EXPECT_EQ(screen.RowText(2).rfind(" player2:[none]", 0), 0u);
      EXPECT_EQ(screen.RowText(3).rfind(" F1 get players  F2 exit  F3 setup", 0), 0u);
      EXPECT_EQ(screen.RowText(last - 2), "carol: line 59");
    } else if (size.rows >= 3) {
      EXPECT_EQ(screen.RowText(last - 2), "carol: line 59");
    }
  }
  // A long line wraps, a wide character takes two cells, and control
  // characters never reach the terminal.
  Say("dora", std::string(100, 'x') + "\u5bb6\x1b[2J");
  const VirtualScreen screen = Drawn(24, 80);
  EXPECT_EQ(screen.RowText(20), "dora: " + std::string(73, 'x'));
  EXPECT_EQ(screen.RowText(21), std::string(27, 'x') + "\u5bb6\\x1B[2J");
  EXPECT_EQ(screen.At(20, 0).style, Style::kSpectatorLine);
  EXPECT_EQ(screen.At(20, 7).style, Style::kPlain);
}

// Rows of a box drawn with its frame, for tables of what the screen shows:
// the top edge with the title, a row of text padded to the frame, the
// bottom edge.
std::string Rule(int width) {
  std::string rule;
  for (int i = 0; i < width; ++i) rule += "\u2500";
  return rule;
}
std::string TopEdge(const std::string& title, int width) {
  return "\u250c\u2500 " + title + " " + Rule(width - TextWidth(title) - 5) + "\u2510";
}
std::string Framed(const std::string& text, int width) {
  return "\u2502 " + text + std::string(static_cast<std::size_t>(width - 3 - TextWidth(text)), ' ') +
         "\u2502";
}
std::string BottomEdge(int width) {
  return "\u2514" + Rule(width - 2) + "\u2518";
}
std::vector<std::string> Rows(const VirtualScreen& screen, int from, int count) {
  std::vector<std::string> rows;
  for (int row = from; row < from + count; ++row) rows.push_back(screen.RowText(row));
  return rows;
}

// Given long screen names mid-battle, every width shows both seats' hit
// points and every button: on 40 columns the bar goes, the names are cut
// with an ellipsis (the caption keeping its bracket) and the buttons take
// two rows; on 60 the bar is narrower; from 80 up the top is as wide as
// ever. Room lines break at blanks.
TEST_F(ScreenConsoleTest, NarrowScreensCutNamesWrapButtonsAndKeepHitPoints) {
  // The buttons on the second row keep their states: "start" dimmed, "info" not.
  const VirtualScreen fresh = Drawn(24, 40);
  EXPECT_EQ(fresh.RowText(4), " F4 start  F5 stop  F6 info");
  EXPECT_EQ(fresh.At(4, 1).style, Style::kButtonDim);
  EXPECT_EQ(fresh.At(4, 20).style, Style::kButton);
  PlayToBattle("Maximilian_Longname");
  Say("Maximilian_Longname", "/thundershock");
  ASSERT_EQ(program_.console().table().player2Hp, "480");
  Say("carol", "a long cheer for maximilian, who picked the electric mouse and never looked back");
  const auto bar = [](int count) {
    std::string cells = "[";
    for (int i = 0; i < count; ++i) cells += "\u2588";
    return cells + "]";
  };
  const struct {
    int cols;
    std::vector<std::string> top;   // rows 1 to the rule under the buttons
    int hp_col;                     // where the hit points start
    std::vector<std::string> last;  // the room's last rows, down to row 21
  } cases[] = {
      {40,
       {" player1:[maximilian_lo\u2026] pikac\u2026 500/500",
        " player2:[bob]            bulba\u2026 480/500",
        " F1 get players  F2 exit  F3 setup",
        " F4 start  F5 stop  F6 info",
        Rule(40)},
       33,
       {"carol: a long cheer for maximilian, who",
        "picked the electric mouse and never",
        "looked back"}},
      {60,
       {" player1:[maximilian_longna\u2026] pikachu   500/500 " + bar(10),
        " player2:[bob]                bulbasaur 480/500 " + bar(10),
        " F1 get players  F2 exit  F3 setup  F4 start  F5 stop",
        " F6 info",
        Rule(60)},
       40,
       {"carol: a long cheer for maximilian, who picked the electric",
        "mouse and never looked back"}},
      {100,
       {" player1:[maximilian_longna\u2026] pikachu       500/500 " + bar(20),
        " player2:[bob]                bulbasaur     480/500 " + bar(20),
        " F1 get players  F2 exit  F3 setup  F4 start  F5 stop  F6 info",
        Rule(100)},
       44,
       {"carol: a long cheer for maximilian, who picked the electric mouse and never looked back"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.cols) + " columns");
    const VirtualScreen screen = Drawn(24, c.cols);
    EXPECT_EQ(Rows(screen, 1, static_cast<int>(c.top.size())), c.top);
    EXPECT_EQ(Rows(screen, 22 - static_cast<int>(c.last.size()), static_cast<int>(c.last.size())),
              c.last);
    EXPECT_EQ(screen.At(1, c.hp_col).style, Style::kHpGood);
    EXPECT_EQ(screen.At(1, c.hp_col - 1).style, Style::kPlain);
    // The title gives way rather than run off the screen.
    EXPECT_EQ(screen.RowText(0).rfind(" zorvik ", 0), 0u);
    EXPECT_EQ(screen.RowText(0).ends_with("\u2026"), c.cols == 40);
  }
}

// Given a screen narrower than a box's text, the box wraps it at blanks to
// the screen's width; so does the question before Ctrl-C ends a match, and
// the feedback form, whose cursor follows its text onto the next row.
TEST_F(ScreenConsoleTest, BoxesAndFormWrapTheirTextOnNarrowScreens) {
  const std::string title = "z\u00f8rv\u00efk by va\u00f1d\u00f8r help";
  std::vector<std::string> help = {TopEdge(title, 40)};
  for (const char* row : {"this game is easy to control, follow", "step by step",
                          "step 1: first click on get players", "step 2: then after 2 people have",
                          "joined click on setup", "step 3: after setup is complete",
                          "click on start", "step 4: have fun playing!",
                          "note:sometimes the program might", "scroll. Just sit back and wait for",
                          "it to end", "note:if someone leaves or they just",
                          "don't want to play, click on stop", "", "               [ OK ]"}) {
    help.push_back(Framed(row, 40));
  }
  help.push_back(BottomEdge(40));
  bool drawn = false;
  loop_.Post([this] { program_.menu().Choose(MenuItem::kHelp); });
  loop_.ScheduleAfter(kMicrosPerSecond, [&] {
    EXPECT_EQ(Rows(Drawn(24, 40), 3, static_cast<int>(help.size())), help);
    drawn = true;
    screen_.HandleKey(kKeyEnter);
  });
  loop_.Run();
  EXPECT_TRUE(drawn);

  Key({kKeyF1, kKeyInterrupt});
  EXPECT_EQ(Rows(Drawn(24, 28), 10, 4),
            (std::vector<std::string>{TopEdge("Ctrl-C", 28), Framed("End the match and exit?", 28),
                                      Framed("(y/n)", 28), BottomEdge(28)}));
  Key('n');

  Key({kKeyF6, kKeyDown, kKeyEnter});
  ASSERT_TRUE(program_.form().shown());
  for (char c : std::string("the seats should wrap nicely on a narrow screen")) Key(c);
  const VirtualScreen screen = Drawn(24, 40);
  EXPECT_EQ(Rows(screen, 13, 2),
            (std::vector<std::string>{Framed("the seats should wrap nicely on a", 40),
                                      Framed("narrow screen", 40)}));
  EXPECT_EQ(screen.cursor_row, 14);
  EXPECT_EQ(screen.cursor_col, 2 + 13);
}

// The host's lines, the players' and the spectators' are told apart. (The
// seats' bars and the buttons' states are checked at every width above.)
TEST_F(ScreenConsoleTest, RoomLinesAreStyledBySpeaker) {
  PlayToBattle();
  Say("alice", "/thundershock");
  Say("carol", "go alice");
  const VirtualScreen screen = Drawn();
  std::map<std::string, Style> styles;
  for (int row = 5; row < 22; ++row) {
    const std::string text = screen.RowText(row);
    styles[text.substr(0, text.find(':'))] = screen.At(row, 0).style;
  }
  EXPECT_EQ(styles["host"], Style::kHostLine);
  EXPECT_EQ(styles["alice"], Style::kPlayerLine);
  EXPECT_EQ(styles["carol"], Style::kSpectatorLine);
}

TEST_F(ScreenConsoleTest, RefusedButtonsSayWhyOnTheStatusLineOnly) {
  const std::size_t lines = screen_.room().size();
  Key(kKeyF3);
  EXPECT_EQ(screen_.status(),
            "\"setup\" waits for two players: press get players and let two people type -join");
  screen_.Submit("start");
  loop_.Run();
  EXPECT_EQ(screen_.status(),
            "\"start\" waits for two players and their picks: press get players first");
  screen_.Submit("dance");
  loop_.Run();
  EXPECT_EQ(screen_.status(), "unknown command \"dance\" (type help)");
  EXPECT_EQ(screen_.room().size(), lines);
  EXPECT_EQ(Drawn().RowText(22), " unknown command \"dance\" (type help)");
}

TEST_F(ScreenConsoleTest, InfoMenuBoxesAndFeedbackFormAsOverlays) {
  // F6 opens the menu; Enter on "about" shows its box until Enter.
  Key(kKeyF6);
  EXPECT_TRUE(screen_.TakesKeys());
  loop_.ScheduleAfter(5 * kMicrosPerSecond, [this] { screen_.HandleKey(kKeyEnter); });
  bool closed = false;
  loop_.Post([&] { screen_.HandleKey(kKeyEnter); });
  loop_.ScheduleAfter(2 * kMicrosPerSecond, [&] {
    const VirtualScreen screen = Drawn();
    bool title = false;
    for (int row = 0; row < 24; ++row) {
      title = title || screen.RowText(row).find("ab\u00f8u\u2020 z\u00f8rv") != std::string::npos;
    }
    EXPECT_TRUE(title);
    EXPECT_TRUE(screen_.TakesKeys());
    closed = true;
  });
  loop_.Run();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(screen_.TakesKeys());

  // Down to "mail me": the form, edited in place, sends a bug report.
  Key({kKeyF6, kKeyDown, kKeyEnter});
  ASSERT_TRUE(program_.form().shown());
  Key({kKeyEnter, 'h', 0xC3, 0xB8, kKeyLeft, kKeyBackspace, kKeyEnd, '!'});
  EXPECT_TRUE(program_.form().text().ends_with("\r\n\u00f8!"));
  Key({kKeyTab, kKeyEnter});
  EXPECT_EQ(screen_.room().back().text,
            "[client] mail to ZorvikDesk: bug report for z\u00f8rv\u00efk");
  Key(kKeyEscape);
  EXPECT_FALSE(program_.form().shown());
}

TEST_F(ScreenConsoleTest, ScrollbackIsBoundedAndPagesBack) {
  for (std::size_t i = 0; i < ScreenConsole::kScrollback + 100; ++i) {
    screen_.notes() << "[irc] note " << i << std::endl;
  }
  EXPECT_EQ(screen_.room().size(), ScreenConsole::kScrollback);
  EXPECT_EQ(screen_.room().front().text, "[irc] note 100");
  EXPECT_EQ(Drawn().RowText(21), "[irc] note 2099");
  EXPECT_EQ(Drawn().At(21, 0).style, Style::kNote);
  Key(kKeyPageUp);
  VirtualScreen screen = Drawn();
  EXPECT_EQ(screen.RowText(21), "[irc] note 2083");  // 17 rows shown, a page is 16
  EXPECT_EQ(screen.RowText(22), " [scrolled back; PgDn for newer]");
  Key({kKeyPageDown, kKeyPageDown});
  EXPECT_EQ(Drawn().RowText(21), "[irc] note 2099");
}

TEST_F(ScreenConsoleTest, TabCompletesCommandsItemsNamesAndPicks) {
  Say("alice", "hello");
  Say("Bob", "hi");
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"se", {"setup"}}, {"s", {"setup", "start", "stop", "say ", "show"}},
      {"menu ", {"menu about", "menu mail me", "menu help"}}, {"form c", {"form comments"}},
      {"b", {"Bob: "}}, {"say hi b", {"say hi Bob"}}, {"alice: /pikac", {"alice: /pikachu"}},
      {"zzz", {}},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(screen_.Complete(typed), expected) << typed;
}

TEST_F(ScreenConsoleTest, AsksBeforeAKeyEndsAMatchOrRestartsItsPicks) {
  // Given a battle under way, Ctrl-C and F2 ask before they end it, and
  // F3 before it starts the picks again; "n" (or any other key) keeps it.
  PlayToBattle();
  ASSERT_TRUE(program_.console().Listening(4));
  for (const int key : {int{kKeyInterrupt}, int{kKeyF2}, int{kKeyF3}}) {
    Key(key);
    EXPECT_TRUE(screen_.TakesKeys()) << key;
    Key('n');
    EXPECT_FALSE(screen_.TakesKeys()) << key;
    EXPECT_TRUE(program_.console().Listening(4)) << key;
  }
  // "setup" typed asks too, and "y" restarts the picks.
  screen_.Submit("setup");
  loop_.Run();
  std::string question;
  for (int row = 0; row < 24; ++row) question += Drawn().RowText(row);
  EXPECT_NE(question.find("The battle is on. Start the picks again? (y/n)"), std::string::npos);
  Key('y');
  EXPECT_TRUE(program_.console().Listening(2));
  // A second Ctrl-C answers its own question.
  Key({kKeyInterrupt, kKeyInterrupt});
  EXPECT_TRUE(program_.console().ended());
}

TEST_F(ScreenConsoleTest, AfterAWinnerTheStatusLineSaysWhatComesNextAndExitAsksNothing) {
  PlayToBattle();
  const MatchTable& t = program_.console().table();
  for (int turn = 0; turn < 200 && !t.player1Hp.empty() && program_.console().Usable(ConsoleButton::kStart); ++turn) {
    Say("alice", "/" + t.player1Moves[0]);
    Say("bob", "/" + t.player2Moves[0]);
  }
  EXPECT_EQ(Drawn().RowText(22),
            " the match is over: press stop, then get players for the next one");
  Key(kKeyF1);
  EXPECT_EQ(screen_.status(), "\"get players\" cannot be pressed after a winner: press stop first");
  Key(kKeyF5);
  EXPECT_EQ(Drawn().RowText(22), "");
  Key(kKeyF2);
  EXPECT_FALSE(screen_.TakesKeys());
  EXPECT_TRUE(program_.console().ended());
}

TEST_F(ScreenConsoleTest, SeveralChannelsShowOneHostAndRoomAtATime) {
  HostProgram other{loop_, boxes_, ProgramOptions{}};
  ScreenConsole both{{{"#a", &program_}, {"#b", &other}}, [](const std::function<bool()>&) {}};
  both.SetLinkState([](std::size_t shown) { return LinkState{shown ? "b out" : "a in"}; });
  other.Start();
  loop_.Run();
  other.splash().Click();
  Say("carol", "in a");
  both.ChannelHostLine(1, "zorvik", "hello b");
  const auto shows = [&](const char* top, const char* seat, const char* line, const char* absent) {
    VirtualScreen screen(24, 80);
    both.Draw(screen, {});
    EXPECT_EQ(screen.RowText(0).find(std::string(top) + "  F1-F6 buttons  F7/F8 channel"), 1u);
    EXPECT_TRUE(screen.RowText(0).ends_with(top[1] == 'a' ? "IRC: a in" : "IRC: b out")) << top;
    EXPECT_EQ(screen.RowText(1).rfind(seat, 0), 0u) << top;
    std::string room;
    for (int row = 5; row < 22; ++row) room += screen.RowText(row) + "\n";
    EXPECT_NE(room.find(line), std::string::npos) << room;
    EXPECT_EQ(room.find(absent), std::string::npos) << room;
  };
  shows("#a [1/2]", " player1:[none]", "carol: in a", "hello b");
  both.HandleKey(kKeyF8);
  both.HandleKey(kKeyF1);  // the shown host's button
  loop_.Run();
  other.client().Say("alice", "-join");
  loop_.Run();
  shows("#b [2/2]", " player1:[alice]", "zorvik: hello b", "carol");
  both.Submit("channel #A");
  shows("#a [1/2]", " player1:[none]", "[channel] showing #a", "alice");
  both.HandleKey(kKeyF7);  // wraps around
  EXPECT_EQ(both.shown_channel(), 1u);
}

TEST(LinkStateTest, DescribesTheLinkFromTheClientsNews) {
  EXPECT_EQ(ReconnectTime("connection lost: reset; trying again in 4.0 s", 10),
            std::optional<Micros>(10 + 4 * kMicrosPerSecond));
  EXPECT_EQ(ReconnectTime("joined #battles", 10), std::nullopt);
  EXPECT_EQ(ReconnectTime("x; trying again in soon", 10), std::nullopt);
  const std::pair<LinkFacts, std::string> cases[] = {
      {{true, true, 0, 0, std::nullopt, false}, "connected"},
      {{true, true, 3, 2, std::nullopt, false}, "connected, 3 lines waiting, 2 dropped"},
      {{false, false, 1, 0, 2'500'000, false}, "reconnecting in 3 s, 1 lines waiting"},
      {{false, false, 0, 0, 0, false}, "connecting"},
      {{false, true, 0, 0, std::nullopt, false}, "joining the channel"},
      {{false, false, 0, 0, std::nullopt, true}, "given up"},
  };
  for (const auto& [facts, text] : cases) {
    EXPECT_EQ(DescribeLink(facts, 0).text, text);
    EXPECT_EQ(DescribeLink(facts, 0).counting, text.starts_with("reconnecting"));
  }
}

}  // namespace
}  // namespace zorvik
