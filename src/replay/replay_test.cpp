// Whole-program scenarios: scripts in, transcripts out, compared record by
// record with what the players and the operator must see.
#include "replay/replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

using Fields = std::vector<std::string>;

std::string Join(const std::vector<Fields>& rows) {
  std::string text;
  for (const Fields& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) text += (i ? "\t" : "") + row[i];
    text += '\n';
  }
  return text;
}

struct Outcome {
  int status = 0;
  std::string transcript, errors;
};

Outcome Replay(const std::string& script, ProgramOptions options = {}) {
  std::istringstream in(script);
  std::ostringstream out, err;
  Outcome outcome;
  outcome.status = RunReplay(in, options, out, err);
  outcome.transcript = out.str();
  outcome.errors = err.str();
  return outcome;
}

// The records from the first at `from` (a transcript time) on.
std::string From(const std::string& transcript, const std::string& from) {
  const std::size_t at = ("\n" + transcript).find("\n" + from + "\t");
  return at == std::string::npos ? "" : transcript.substr(at);
}

// Opens the console and the join phase: "type: -join" at 4.130, the join
// listener on at 4.640.
const std::vector<Fields> kOpenGame = {
    {"2.1", "click", "splash"}, {"2.1", "click", "console", "get players"},
};

// `script` with `more` merged in by time (equal times: `script` first).
std::vector<Fields> With(std::vector<Fields> script, const std::vector<Fields>& more) {
  script.insert(script.end(), more.begin(), more.end());
  std::stable_sort(script.begin(), script.end(), [](const Fields& a, const Fields& b) {
    return std::stod(a[0]) < std::stod(b[0]);
  });
  return script;
}

// Seats alicesmith and bob: the buttons come on at 8.530.
std::vector<Fields> Seated() {
  return With(kOpenGame, {{"5", "say", "AliceSmith", "-join"}, {"7", "say", "Bob", "-join"}});
}

// In battle, alicesmith with pikachu and bob with bulbasaur: the last
// announcement is at 20.560, "start" pressed at 25, game commands from
// 25.000, alicesmith prompted at 26.530 (after the 0.11 s switch), the
// turn-1 listener on at 27.040... see each test.
std::vector<Fields> Battle() {
  return With(Seated(), {{"9", "click", "console", "setup"},
                         {"14", "say", "AliceSmith", "/pikachu"},
                         {"17", "say", "Bob", "/bulbasaur"},
                         {"25", "click", "console", "start"}});
}

// Whether `transcript` holds `text`.
bool Holds(const std::string& transcript, const std::string& text) {
  return transcript.find(text) != std::string::npos;
}

// The program starts with the splash window, which says hello in the room
// before it appears; a click on it opens the console.
TEST(ReplayTest, StartUpAndSplash) {
  const Outcome outcome = Replay(
      Join({{"1", "click", "splash"}, {"3", "click", "splash"}, {"3", "click", "splash"},
            {"4", "show"}}));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.transcript, Join({
      {"0.000", "host", " \u00a0"},
      {"0.510", "host", "-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-=|[loaded]|=-"},
      {"1.000", "#ignored", "click", "splash"},
      {"1.020", "host", "-=|[gotta catch'em all]|=-"}, {"1.530", "host", " \u00a0"},
      {"2.040", "#window", "splash", "shown"},
      {"3.000", "#window", "splash", "hidden"}, {"3.000", "#window", "console", "shown"},
      {"3.000", "#ignored", "click", "splash"},
      {"4.000", "#console", "player1:[none]", "", "", "player2:[none]", "", "", "get players", ""},
  }));
}

// Joining: capitals count, blanks and punctuation do not; the same player
// again is told so; the second player takes seat 2 and nobody after them is
// heard.
TEST(ReplayTest, JoinPhase) {
  const Outcome outcome = Replay(Join(With(
      kOpenGame, {{"4", "say", "Early", "-join"}, {"5", "say", "AliceSmith", "-join"},
                  {"5.2", "say", "alicesmith", "-JOIN"}, {"5.3", "say", "Bob", " -join"},
                  {"5.4", "say", "Bob", "-join "}, {"5.5", "say", "Bob", "-join!"}, {"6.5", "show"},
                  {"7", "say", "Bob", "-Join"}, {"7.1", "say", "Carol", "-join"},
                  {"7.2", "click", "console", "setup"}, {"9", "show"}})));
  EXPECT_EQ(From(outcome.transcript, "2.100"), Join({
      {"2.100", "#window", "splash", "hidden"}, {"2.100", "#window", "console", "shown"},
      {"2.100", "host", " \u00a0"},
      {"2.610", "host", "-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-"},
      {"3.120", "host", "-=|[accepting players to battle!]=-"},
      {"4.000", "Early", "-join"},  // the join listener is not on yet
      {"4.130", "host", "-=|[type: -join]=-"}, {"5.000", "AliceSmith", "-join"},
      {"5.000", "host", "-=|[alicesmith has joined the game]|=-"}, {"5.200", "alicesmith", "-JOIN"},
      {"5.200", "host", "-=|[you are already playing]|=-"},
      {"5.300", "Bob", " -join"}, {"5.400", "Bob", "-join "}, {"5.500", "Bob", "-join!"},
      {"6.500", "#console", "player1:[alicesmith]", "", "", "player2:[none]", "", "",
       "get players", "Chat1"},
      {"7.000", "Bob", "-Join"}, {"7.000", "host", "-=|[bob challenges alicesmith]|=-"},
      {"7.100", "Carol", "-join"}, {"7.200", "#ignored", "click", "console", "setup"},
      {"8.010", "host", "-=|[no more space for players]|=-"},
      {"9.000", "#console", "player1:[alicesmith]", "", "", "player2:[bob]", "", "",
       "setup,stop", ""},
  }));
}

// Picks: only the seat's player is heard, the text after the first slash
// must be a roster name exactly, a refusal leaves the listener on, and the
// second pick announces the battle.
TEST(ReplayTest, CreatureSelection) {
  const Outcome outcome = Replay(Join(With(
      Seated(), {{"9", "click", "console", "setup"}, {"10.5", "say", "Bob", "/pikachu"},
                 {"11", "say", "AliceSmith", "/pikachu now"}, {"12", "say", "AliceSmith", "/"},
                 {"13", "say", "AliceSmith", "//pikachu"}, {"13.6", "say", "AliceSmith", "pikachu"},
                 {"14", "say", "AliceSmith", "i pick /Pikachu"}, {"16", "say", "Bob", "/mr. mime"},
                 {"17", "say", "Bob", "/Mr.Mime"}, {"19", "show"}, {"21", "show"}})));
  const std::string refused = "-=|[that zorvik is not on my zorvikroll, yet, select again]|=-";
  EXPECT_EQ(From(outcome.transcript, "9.000"), Join({
      {"9.000", "host", "-=|[enter zorvik name: /zorvikname]|=-"},
      {"9.510", "host", "-=|[alicesmith enter your zorvik first]|=-"},
      {"10.500", "Bob", "/pikachu"},
      {"11.000", "AliceSmith", "/pikachu now"}, {"11.000", "host", refused},
      {"12.000", "AliceSmith", "/"}, {"12.000", "host", refused},
      {"13.000", "AliceSmith", "//pikachu"}, {"13.000", "host", refused},
      {"13.600", "AliceSmith", "pikachu"}, {"14.000", "AliceSmith", "i pick /Pikachu"},
      {"14.000", "host", "-=|[alicesmith selected pikachu]|=-"},
      {"14.510", "host", "-=|[bob type in a valid zorvik name]|=-"},
      {"16.000", "Bob", "/mr. mime"}, {"16.000", "host", refused},
      {"17.000", "Bob", "/Mr.Mime"}, {"17.000", "host", "-=|[bob selected mr.mime]|=-"},
      {"17.510", "host", "-=|[each trainer has selected their zorvik]|=-"},
      {"18.020", "host", "-=|[trainers, get ready!]|=-"},
      {"19.000", "#console", "player1:[alicesmith]", "pikachu", "500", "player2:[bob]",
       "mr.mime", "500", "setup,start,stop", ""},
      {"19.030", "host", "-=|[the zorvik battle is about to start!]|=-"},
      {"19.540", "host", "-=|[the challenge will be between alicesmith and bob]|=-"},
      {"20.050", "host", "-=|[alicesmith will use pikachu 500/500]|=-"},
      {"20.560", "host", "-=|[bob will use mr.mime 500/500]|=-"},
      {"21.000", "#console", "player1:[alicesmith]", "pikachu", "500", "player2:[bob]",
       "mr.mime", "500", "setup,start,stop", ""},
  }));
}

// One turn as the host tells it: with seed 11 the first cheer is row 2 and
// the first damage 37. Moves are trimmed and case-blind; "+moves" lists
// the first four.
TEST(ReplayTest, OneBattleTurn) {
  ProgramOptions options;
  options.seed = 11;
  const Outcome outcome = Replay(
      Join(With(Battle(), {{"26", "say", "Bob", "/tackle"}, {"28", "say", "AliceSmith", " +moves"},
                           {"28.1", "say", "AliceSmith", "+MOVES"},
                           {"30", "say", "AliceSmith", "/tackle"},
                           {"31", "say", "AliceSmith", "go / ThunderShock "}, {"33", "show"}})),
      options);
  EXPECT_EQ(From(outcome.transcript, "25.110"), Join({
      {"25.110", "#im", "$IM_Off", "z\u00f8rv\u00efk"}, {"25.110", "host", "-=|[game commands]|=-"},
      {"25.620", "host", "-=|[for attacking: /name of attack]|=-"}, {"26.000", "Bob", "/tackle"},
      {"26.130", "host", "-=|[for a list of moves: +moves]|=-"},
      {"27.140", "host", "-=|[alicesmith choose your attack]|=-"},
      {"28.000", "AliceSmith", " +moves"}, {"28.100", "AliceSmith", "+MOVES"},
      {"28.100", "host", "-=|[moves for pikachu]|=-"},
      {"28.610", "host", "-=|[thundershock]|=-=|[thunderwave]|=-"},
      {"29.120", "host", "-=|[swift]|=-=|[thunder]|=-"}, {"30.000", "AliceSmith", "/tackle"},
      {"30.000", "host", "not a valid move go again"},
      {"31.000", "AliceSmith", "go / ThunderShock "},
      {"31.000", "host", "pikachu, hit him with your thundershock attack!"},
      {"31.510", "host", "-=|[pikachu did 37 points of damage!]|=-"},
      {"32.020", "host", "-=|[pikachu: 500/500]|=-"},
      {"32.530", "host", "-=|[bulbasaur: 463/500]|=-"},
      {"33.000", "#console", "player1:[alicesmith]", "pikachu", "500", "player2:[bob]",
       "bulbasaur", "463", "setup,start,stop", "Chat4"},
      {"33.040", "host", "-=|[bob choose your attack]|=-"},
  }));
}

// Both players attack whenever they can until one creature faints.
std::vector<Fields> FightToTheEnd(std::vector<Fields> script) {
  for (int turn = 0; turn < 40; ++turn) {
    const std::string at = std::to_string(28 + turn * 4);
    script.push_back(
        {at, "say", turn % 2 ? "Bob" : "AliceSmith", turn % 2 ? "/vinewhip" : "/thunder"});
  }
  return script;
}

std::vector<std::string> Records(const std::string& transcript) {
  std::vector<std::string> records;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) records.push_back(line);
  return records;
}

// A fainting creature ends the battle: the faint and victory lines, then
// nothing more for either player; only "stop" is left, and "stop" brings
// the console back to the start and switches instant messages on again.
// The same script gives the same transcript, byte for byte; another seed
// gives other dice.
TEST(ReplayTest, BattleEndsWhenACreatureFaints) {
  const std::string script = Join(With(
      FightToTheEnd(Battle()), {{"250", "show"}, {"251", "click", "console", "start"},
                                {"252", "click", "console", "stop"}, {"253", "show"}}));
  const Outcome outcome = Replay(script);
  EXPECT_EQ(outcome.transcript, Replay(script).transcript);
  ProgramOptions options;
  options.seed = 7;
  EXPECT_NE(outcome.transcript, Replay(script, options).transcript);
  const std::vector<std::string> records = Records(outcome.transcript);
  std::size_t faint = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].find(" Fainted!]|=-") != std::string::npos) faint = i;
  }
  ASSERT_GT(faint, 0u) << outcome.transcript;
  const std::string fainted = records[faint].substr(records[faint].find("-=|["));
  const bool bob_won = fainted == "-=|[pikachu Fainted!]|=-";
  EXPECT_TRUE(bob_won || fainted == "-=|[bulbasaur Fainted!]|=-") << fainted;
  EXPECT_TRUE(Holds(records[faint + 1], bob_won ? "\thost\t-=|[bob defeated alicesmith]|=-"
                                                : "\thost\t-=|[alicesmith defeated bob]|=-"))
      << records[faint + 1];
  // After the battle the players' lines get no answer.
  for (std::size_t i = faint + 2; i < records.size(); ++i) {
    EXPECT_FALSE(Holds(records[i], "\thost\t")) << records[i];
  }
  EXPECT_TRUE(Holds(outcome.transcript,
                    "250.000\t#console\tplayer1:[none]\t\t\tplayer2:[none]\t\t\tstop\t\n"
                    "251.000\t#ignored\tclick\tconsole\tstart\n"
                    "252.110\t#im\t$IM_On\tz\u00f8rv\u00efk\n"
                    "253.000\t#console\tplayer1:[none]\t\t\tplayer2:[none]\t\t\tget players\t\n"))
      << outcome.transcript;
}

// Lines and presses that arrive while the host is announcing run nested:
// a second move during one's own attack is ignored, the opponent is not
// heard before their turn, "start" again leaves both turn listeners on, and
// "setup" in battle lets player 1 pick again, adding the new moves behind
// the old ones (the listing still shows the first four).
TEST(ReplayTest, ReEntryDuringBattle) {
  const Outcome outcome = Replay(Join(With(
      Battle(), {{"28", "say", "AliceSmith", "/thunder"}, {"28.2", "say", "AliceSmith", "/thunder"},
                 {"29", "say", "Bob", "/tackle"}, {"30.3", "click", "console", "start"},
                 {"32", "say", "Bob", "/tackle"}, {"33", "click", "console", "setup"},
                 {"35", "say", "AliceSmith", "/onix"}, {"38", "say", "AliceSmith", "+moves"},
                 {"40", "say", "AliceSmith", "/slam"}, {"42.5", "show"}})));
  EXPECT_EQ(From(outcome.transcript, "28.000"), Join({
      {"28.000", "AliceSmith", "/thunder"},
      {"28.000", "host", "hang in there pikachu try thunder attack!"},
      {"28.200", "AliceSmith", "/thunder"},
      {"28.510", "host", "-=|[pikachu did 20 points of damage!]|=-"},
      {"29.000", "Bob", "/tackle"}, {"29.020", "host", "-=|[pikachu: 500/500]|=-"},
      {"29.530", "host", "-=|[bulbasaur: 480/500]|=-"},
      {"30.040", "host", "-=|[bob choose your attack]|=-"},
      // "start" runs inside the prompt's pause, so bob's listener
      // comes on only after it, beside alicesmith's.
      {"30.410", "#im", "$IM_Off", "zørvïk"}, {"30.410", "host", "-=|[game commands]|=-"},
      {"30.920", "host", "-=|[for attacking: /name of attack]|=-"},
      {"31.430", "host", "-=|[for a list of moves: +moves]|=-"}, {"32.000", "Bob", "/tackle"},
      {"32.440", "host", "-=|[alicesmith choose your attack]|=-"},
      {"33.000", "host", "-=|[enter zorvik name: /zorvikname]|=-"},
      {"33.510", "host", "-=|[alicesmith enter your zorvik first]|=-"},
      // The pick listener and the turn listener both hear the pick.
      {"35.000", "AliceSmith", "/onix"}, {"35.000", "host", "-=|[alicesmith selected onix]|=-"},
      {"35.000", "host", "not a valid move go again"},
      {"35.510", "host", "-=|[bob type in a valid zorvik name]|=-"},
      {"38.000", "AliceSmith", "+moves"}, {"38.000", "host", "-=|[moves for onix]|=-"},
      {"38.510", "host", "-=|[thundershock]|=-=|[thunderwave]|=-"},
      {"39.020", "host", "-=|[swift]|=-=|[thunder]|=-"}, {"40.000", "AliceSmith", "/slam"},
      {"40.000", "host", "hang in there onix try slam attack!"},
      {"40.510", "host", "-=|[onix did 19 points of damage!]|=-"},
      {"41.020", "host", "-=|[onix: 500/500]|=-"}, {"41.530", "host", "-=|[bulbasaur: 461/500]|=-"},
      {"42.040", "host", "-=|[bob choose your attack]|=-"},
      {"42.500", "#console", "player1:[alicesmith]", "onix", "500", "player2:[bob]",
       "bulbasaur", "461", "setup,start,stop", "Chat3,Chat5"},
  }));
}

// "stop" pressed while an attack is announced: the attack ends quietly
// where it is, and the console is back at the start.
TEST(ReplayTest, StopDuringAnAttack) {
  const Outcome outcome = Replay(Join(With(
      Battle(), {{"28", "say", "AliceSmith", "/thunder"}, {"28.7", "click", "console", "stop"},
                 {"30", "say", "Bob", "/tackle"}, {"31", "show"}})));
  EXPECT_EQ(From(outcome.transcript, "28.000"), Join({
      {"28.000", "AliceSmith", "/thunder"},
      {"28.000", "host", "hang in there pikachu try thunder attack!"},
      {"28.510", "host", "-=|[pikachu did 20 points of damage!]|=-"},
      {"28.810", "#im", "$IM_On", "zørvïk"}, {"30.000", "Bob", "/tackle"},
      {"31.000", "#console", "player1:[none]", "", "", "player2:[none]", "", "", "get players", ""},
  }));
}

// "exit" ends the program even in the middle of an attack: four lines,
// then nothing more happens.
TEST(ReplayTest, ExitInTheMiddleOfAnAttack) {
  const Outcome outcome = Replay(Join(With(
      Battle(), {{"28", "say", "AliceSmith", "/thunder"}, {"28.3", "click", "console", "exit"},
                 {"29", "say", "Bob", "hello"}, {"40", "show"}})));
  EXPECT_EQ(From(outcome.transcript, "28.000"), Join({
      {"28.000", "AliceSmith", "/thunder"},
      {"28.000", "host", "hang in there pikachu try thunder attack!"},
      {"28.300", "host", " \u00a0"},
      {"28.810", "host", "-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-=|[unloaded]|=-"},
      {"29.000", "Bob", "hello"}, {"29.320", "host", "-=|[gotta catch'em all]|=-"},
      {"29.830", "host", " \u00a0"}, {"30.340", "#exit"},
  }));
}

// The info menu and the feedback form: the boxes' texts byte for byte, the
// form sent as mail with its CR LF lines, hidden and shown again as it was.
TEST(ReplayTest, InfoMenuAndFeedbackForm) {
  const Outcome outcome = Replay(Join({
      {"1", "click", "menu", "about"}, {"2.1", "click", "splash"},
      {"2.2", "click", "console", "info"}, {"2.3", "click", "menu", "help"},
      {"2.4", "click", "form", "exit"}, {"2.5", "click", "menu", "mail me"},
      {"2.6", "click", "form", "bug report"}, {"2.7", "type", "form", "line one\\r\\nline\\ttwo"},
      {"2.8", "click", "form", "comments"}, {"2.9", "click", "form", "exit"},
      {"3.0", "type", "form", "lost"}, {"3.1", "click", "menu", "mail me"},
      {"3.2", "click", "form", "comments"},
  }));
  const std::string initial = "yo vandor!" + std::string(36, ' ') + "\\r\\nthis game is tight!" +
                              std::string(23, ' ') + "\\r\\nstart making a second version now!" +
                              std::string(19, ' ') + "\\r\\n" + std::string(42, ' ') +
                              "\\r\\n \\r\\n" + std::string(37, ' ') + "\\r\\n" +
                              std::string(32, ' ') + "\\r\\n";
  const std::string help =
      "this game is easy to control, follow step by step\\r"
      "step 1: first click on get players\\r"
      "step 2: then after 2 people have joined click on setup\\r"
      "step 3: after setup is complete click on start\\r"
      "step 4: have fun playing!\\r"
      "note:sometimes the program might scroll. Just sit back and wait for it to end\\r"
      "note:if someone leaves or they just don't want to play, click on stop";
  EXPECT_EQ(From(outcome.transcript, "1.000"), Join({
      {"1.000", "#ignored", "click", "menu", "about"},
      {"1.020", "host", "-=|[gotta catch'em all]|=-"}, {"1.530", "host", " \u00a0"},
      {"2.040", "#window", "splash", "shown"},
      {"2.100", "#window", "splash", "hidden"}, {"2.100", "#window", "console", "shown"},
      {"2.300", "#msgbox", "z\u00f8rv\u00efk by va\u00f1d\u00f8r help", help},
      {"2.400", "#ignored", "click", "form", "exit"}, {"2.500", "#window", "form", "shown"},
      {"2.600", "#mail", "ZorvikDesk", "bug report for z\u00f8rv\u00efk", initial},
      {"2.800", "#mail", "ZorvikDesk", "comments for z\u00f8rv\u00efk", "line one\\r\\nline\\ttwo"},
      {"2.900", "#window", "form", "hidden"}, {"3.000", "#ignored", "type", "form", "lost"},
      {"3.100", "#window", "form", "shown"},
      {"3.200", "#mail", "ZorvikDesk", "comments for z\u00f8rv\u00efk", "line one\\r\\nline\\ttwo"},
  }));
}

// Chat text from strangers: any bytes, any length, in every phase. Nothing
// breaks, and the transcript keeps each record on one line.
TEST(ReplayTest, HostileChatText) {
  const std::string huge(200'000, 'x');
  const std::string nasty = "\x1b[2J\x01\x7f\xff\xfe\xc3(-join/pikachu\xe2\x82";
  std::vector<Fields> hostile;
  for (const std::string at : {"4.5", "10.5", "15.5", "28"}) {
    hostile.push_back({at, "say", "AliceSmith", "/" + huge});
    hostile.push_back({at, "say", nasty, nasty});
    hostile.push_back({at, "say", "AliceSmith", "\\r\\n/pikachu\\t+moves\\\\"});
  }
  const Outcome outcome = Replay(Join(With(Battle(), hostile)));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_GT(outcome.transcript.size(), 800'000u);
  for (const std::string& record : Records(outcome.transcript)) {
    EXPECT_EQ(record.find('\r'), std::string::npos);
  }
  // The match itself went on as if nothing had been said.
  EXPECT_NE(outcome.transcript.find("\thost\t-=|[alicesmith choose your attack]|=-\n"),
            std::string::npos);
}

// A script that cannot be opened or read says why, in the system's words,
// and runs nothing; a line that cannot be read keeps its own form.
TEST(ReplayTest, ScriptFilesThatCannotBeRead) {
  const std::string bad_line = ::testing::TempDir() + "zorvik_bad_line.txt";
  std::ofstream(bad_line) << "# a script\n1\tdance\n";
  // The system's words differ between systems where the case is odd (a
  // folder, a name Windows refuses): there the reason is only present.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/nonexistent/script", "zorvik: cannot open /nonexistent/script: " +
                                  std::string(std::strerror(ENOENT)) + "\n"},
      {"/", "zorvik: cannot "},
      {"/nonexistent/\x1b[2J", "zorvik: cannot open /nonexistent/\\x1B[2J: "},
      {bad_line, "error: line 2: "},
  };
  for (const auto& [file, error] : cases) {
    SCOPED_TRACE(file);
    std::ostringstream transcript, errors;
    EXPECT_EQ(RunReplayFile(file, ProgramOptions{}, transcript, errors), 2);
    EXPECT_EQ(transcript.str(), "");
    EXPECT_EQ(errors.str().substr(0, error.size()), error);
    EXPECT_GT(errors.str().size(), error.back() == '\n' ? error.size() - 1 : error.size() + 1)
        << errors.str();  // a reason follows
  }
  std::remove(bad_line.c_str());
}

}  // namespace
}  // namespace zorvik
