// The host on Windows beside a stand-in for the desktop client, as two
// programs talking through real window messages, in real time.
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/host_program.h"
#include "replay/replay.h"
#include "gamedata/move_sets.h"
#include "win32_harness.h"

namespace zorvik::test {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// One thing that happens to the host: the operator types at its console,
// or someone speaks in the client's room.
struct Event {
  std::string speaker;  // empty: the operator's command
  std::string text;
};

// The room lines the stand-in has shown, as "NAME<TAB>TEXT".
Lines RoomLines(const Lines& log) {
  Lines room;
  for (const std::string& line : log) {
    if (line.rfind("room ", 0) == 0) room.push_back(line.substr(5));
  }
  return room;
}

bool Contains(const Lines& lines, const std::string& wanted) {
  for (const std::string& line : lines) {
    if (line == wanted) return true;
  }
  return false;
}

// The room lines `zorvik replay` gives for the same events, each well after
// the one before, and the replay's line count after each event.
Lines ReplayRoomLines(const std::vector<Event>& events, std::uint64_t seed,
                      std::vector<std::size_t>* counts = nullptr) {
  std::ostringstream script;
  script << "2.1\tclick\tsplash\n";
  Lines room;
  std::size_t time = 10;
  for (std::size_t i = 0; i <= events.size(); ++i) {
    std::istringstream input(script.str());
    std::ostringstream transcript, errors;
    ProgramOptions options;
    options.seed = seed;
    EXPECT_EQ(RunReplay(input, options, transcript, errors), 0) << errors.str();
    room.clear();
    std::istringstream records(transcript.str());
    std::string record;
    while (std::getline(records, record)) {
      const std::size_t tab = record.find('\t');
      if (record.compare(tab + 1, 1, "#") != 0) room.push_back(record.substr(tab + 1));
    }
    if (counts) counts->push_back(room.size());
    if (i == events.size()) break;
    const Event& event = events[i];
    script << time << (event.speaker.empty() ? "\tclick\tconsole\t" : "\tsay\t" + event.speaker + "\t")
           << event.text << '\n';
    time += 30;
  }
  return room;
}

class DesktopClientTest : public ::testing::Test {
 protected:
  // The stand-in first, the host beside it: the splash's four lines reach
  // the room (the last is the spacer).
  void StartHost(std::uint64_t seed, const std::string& before = "") {
    ASSERT_TRUE(client_.started());
    ASSERT_TRUE(client_.WaitForLine("ready", 20s));
    if (!before.empty()) {
      client_.Send(before);
      ASSERT_TRUE(client_.WaitFor([](const Lines& l) { return l.back().rfind("history ", 0) == 0; }, 20s));
    }
    host_ = std::make_unique<ChildProcess>("zorvik.exe",
                                           "--text --seed " + std::to_string(seed));
    ASSERT_TRUE(WaitForRoomLines(4, 30s)) << Dump();
  }

  bool WaitForRoomLines(std::size_t count, std::chrono::milliseconds timeout) {
    return client_.WaitFor([&](const Lines& log) { return RoomLines(log).size() >= count; },
                           timeout);
  }

  // Lets the host finish the pause after its last line.
  static void Settle() { Sleep(700); }

  void Command(const std::string& command) { host_->Send(command); }
  void Say(const std::string& name, const std::string& text) {
    client_.Send("say " + name + " " + text);
  }

  std::string Dump() {
    std::string text = "client:\n";
    for (const std::string& line : client_.Lines()) text += "  " + line + "\n";
    text += "host:\n";
    if (host_) {
      for (const std::string& line : host_->Lines()) text += "  " + line + "\n";
    }
    return text;
  }

  ChildProcess client_{"standin_client.exe", "host"};
  std::unique_ptr<ChildProcess> host_;
};

// A whole match through the client's windows: the operator's buttons typed
// at the console, two people joining, picking and attacking in the room.
// The room shows exactly the lines that the replay gives for the same
// events; the splash's lines were typed in code page 1252, and the battle's
// start switched instant messages off through Keyword and Send Instant
// Message.
TEST_F(DesktopClientTest, WholeMatchAsTheReplayHasIt) {
  constexpr std::uint64_t kSeed = 28;  // a short match
  std::vector<std::string> first_moves[2];
  AddMoveSet("pikachu", first_moves[0]);
  AddMoveSet("bulbasaur", first_moves[1]);
  std::vector<Event> events = {{"", "get players"},   {"AliceSmith", "-join"},
                               {"Bob", "-join"},      {"", "setup"},
                               {"AliceSmith", "/pikachu"}, {"Bob", "i pick /bulbasaur"},
                               {"", "start"}};
  // Attacks in turn until one more is no longer answered (the room shows
  // only the attack itself): the match is over.
  std::vector<std::size_t> counts;
  for (int turn = 0;; ++turn) {
    ASSERT_LT(turn, 200);
    events.push_back({turn % 2 ? "Bob" : "AliceSmith", "/" + first_moves[turn % 2][turn / 2 % 4]});
    counts.clear();
    ReplayRoomLines(events, kSeed, &counts);
    if (counts[counts.size() - 1] <= counts[counts.size() - 2] + 1) {
      events.pop_back();
      counts.pop_back();
      break;
    }
  }
  const Lines expected = ReplayRoomLines(events, kSeed);

  StartHost(kSeed);
  Settle();
  for (std::size_t i = 0; i < events.size(); ++i) {
    const Event& event = events[i];
    if (event.speaker.empty()) {
      Command(event.text);
    } else {
      Say(event.speaker, event.text);
    }
    ASSERT_TRUE(WaitForRoomLines(counts[i + 1], 30s)) << "after event " << i << "\n" << Dump();
    Settle();
  }
  const Lines client_log = client_.Lines();
  EXPECT_EQ(RoomLines(client_log), expected) << Dump();

  // "-=|[zørvïk by vañdør]|=-=|[loaded]|=-" and the spacer " \u00a0", in 1252.
  EXPECT_TRUE(Contains(client_log, "typed 2D3D7C5B7AF87276EF6B206279207661F164F8725D7C3D2D3D7C5B6C6F616465645D7C3D2D"));
  EXPECT_TRUE(Contains(client_log, "typed 20A0"));
  EXPECT_TRUE(Contains(client_log, "keyword aol://9293:"));
  EXPECT_TRUE(Contains(client_log, "im $IM_Off\tzørvïk"));
  Command("exit");
  EXPECT_EQ(host_->WaitForExit(20s), 0) << Dump();
}

bool HasLineStarting(const Lines& lines, const std::string& start) {
  for (const std::string& line : lines) {
    if (line.rfind(start, 0) == 0) return true;
  }
  return false;
}

// The client's dialogs: "stop" switches instant messages on, and an
// undeliverable one ends with the client's message box closed; the
// feedback form's mail goes through Write Mail and its modal dialog; with
// another window in front of the room a line is lost, and once the room is
// in front again the host speaks and hears as before.
TEST_F(DesktopClientTest, DialogsAndAWindowInFront) {
  StartHost(1);
  Settle();
  Command("get players");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[type: -join]=-", 20s)) << Dump();
  Settle();
  Say("AliceSmith", "-join");
  Say("Bob", "-join");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[no more space for players]|=-", 20s)) << Dump();
  Settle();
  client_.Send("undeliverable");
  Command("stop");
  ASSERT_TRUE(client_.WaitForLine("box closed", 20s)) << Dump();
  EXPECT_TRUE(Contains(client_.Lines(), "im $IM_On\tzørvïk"));

  Command("info");
  Command("menu mail me");
  Command("form text Great game!\\nThanks");
  Command("form bug report");
  ASSERT_TRUE(client_.WaitForLine("mail ZorvikDesk\tbug report for zørvïk\tGreat game!\\r\\nThanks", 20s))
      << Dump();
  ASSERT_TRUE(client_.WaitForLine("closed Write Mail", 20s)) << Dump();

  client_.Send("front");
  ASSERT_TRUE(client_.WaitForLine("front Welcome Lobby", 10s)) << Dump();
  Command("say lost line");
  Sleep(1500);
  client_.Send("back");
  ASSERT_TRUE(client_.WaitForLine("back", 10s));
  Say("Dana", "still here?");
  Command("say found line");
  ASSERT_TRUE(client_.WaitForLine("room host\tfound line", 20s)) << Dump();
  EXPECT_FALSE(Contains(client_.Lines(), "room host\tlost line"));
  // The host heard the room again once it was in front.
  EXPECT_TRUE(host_->WaitForLine("Dana: still here?", 10s)) << Dump();
  Command("exit");
  EXPECT_EQ(host_->WaitForExit(20s), 0) << Dump();
}

// A history of a megabyte that keeps losing its top, lines of bytes that
// no code page has, and then the client closed in the middle of a battle:
// the host hears the new lines only, keeps running, gives its polls up
// after their bound and still ends when told.
TEST_F(DesktopClientTest, LongHistoryStrangeBytesAndAClosedClient) {
  StartHost(5, "history 1048576");
  Settle();
  Command("get players");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[type: -join]=-", 20s)) << Dump();
  Settle();
  client_.Send("sayhex Eve 818D8F909DFF");
  client_.Send("sayhex Bob 2D6A6F696E81");  // "-join" and a stray byte: no join
  Say("Bob", "-join");
  Say("Dana", "-join");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[no more space for players]|=-", 30s)) << Dump();
  EXPECT_TRUE(HasLineStarting(host_->Lines(), "Eve: "));
  EXPECT_FALSE(HasLineStarting(host_->Lines(), "Someone: "));  // the old history
  Settle();
  Command("setup");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[bob enter your zorvik first]|=-", 30s)) << Dump();
  Settle();
  Say("Bob", "/pikachu");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[dana type in a valid zorvik name]|=-", 30s));
  Settle();
  Say("Dana", "/bulbasaur");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[dana will use bulbasaur 500/500]|=-", 30s)) << Dump();
  Settle();
  Command("start");
  ASSERT_TRUE(client_.WaitForLine("room host\t-=|[bob choose your attack]|=-", 30s)) << Dump();
  Settle();
  Say("Bob", "/thundershock");
  ASSERT_TRUE(client_.WaitFor(
      [](const Lines& log) {
        const Lines room = RoomLines(log);
        return !room.empty() && room.back().find("points of damage") != std::string::npos;
      },
      20s))
      << Dump();
  client_.Send("quit");
  ASSERT_EQ(client_.WaitForExit(20s), 0);

  // Instant messages on: its poll waits for a window that never comes, gives
  // up after its bound, and the stop then ends as ever.
  Command("stop");
  ASSERT_TRUE(host_->WaitForLine(
      "[console] player1:[none] | player2:[none] | buttons: get players, exit, info", 60s))
      << Dump();
  Command("exit");
  EXPECT_EQ(host_->WaitForExit(90s), 0) << Dump();
  EXPECT_TRUE(Contains(host_->Lines(), "[exit] goodbye"));
}

}  // namespace
}  // namespace zorvik::test
