// The host on a real IRC server, in real time: ngircd on loopback, the host
// as the real program (`zorvik irc ...`) steered through its terminal, and
// players that are real IRC clients (the tests' own, and sic).
#include <stdlib.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "irc_harness.h"

namespace zorvik::irc_test {
namespace {

const std::string kChannel = "#battles";
const std::string kHost = "zhost";

class IrcMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start()) << "ngircd did not start";
    ASSERT_TRUE(Enter(watcher_));
  }

  // A failing scenario ends with what the host's terminal showed last.
  void TearDown() override {
    if (HasFailure() && host_)
      std::printf("%s", LastLines("host terminal", host_->lines, 60).c_str());
  }

  // Connects `client` and joins the channel; the scene pumps it from now on.
  bool Enter(TestClient& client) {
    scene_.Add(client);
    if (!client.Open(server_.port())) return false;
    if (!scene_.Until([&] { return client.registered(); }, 10)) return false;
    client.Send("JOIN " + kChannel);
    return scene_.Until([&] { return client.InChannel(); }, 10);
  }

  // Starts the host and waits until it has joined and its console is open.
  void StartHost(std::vector<std::string> arguments) {
    std::vector<std::string> argv = {ZORVIK_BINARY, "irc"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    host_ = std::make_unique<Child>(argv);
    scene_.Add(*host_);
    ASSERT_TRUE(scene_.Until([&] { return HostJoins() > 0 && host_->Printed("[console]"); }, 15));
  }

  std::string Url(bool tls) const {
    return std::string(tls ? "ircs" : "irc") +
           "://127.0.0.1:" + std::to_string(tls ? server_.tls_port() : server_.port()) + "/" +
           kChannel;
  }

  long HostJoins() const { return watcher_.Count(":" + kHost + "!", " JOIN "); }

  // The host's channel lines as the watcher heard them.
  std::vector<Heard> HostLines() const {
    std::vector<Heard> lines;
    for (const Heard& heard : watcher_.heard) {
      if (heard.nick == kHost) lines.push_back(heard);
    }
    return lines;
  }

  bool HostSays(const std::string& part, double seconds = 20) { return said_.Says(part, seconds); }

  bool Listening(int n) { return HostListening(scene_, *host_, n, 20); }

  // Waits for the prompt of the player to move and for their listener.
  int NextTurnListened(double seconds = 20) { return NextTurn(said_, *host_, seconds); }

  // Presses a console button once the console shows it usable, as an
  // operator looking at it would.
  void Operator(const std::string& command) {
    EXPECT_TRUE(HostShows(scene_, *host_, "buttons:", command, 30))
        << command << " never became usable";
    host_->Write(command + "\n");
  }

  // Makes a step's move: the player says it, or the operator presses it.
  std::function<void(const std::string&, const MatchStep&)> Moves(TestClient& alice,
                                                                  TestClient& bob) {
    return [&, this](const std::string& channel, const MatchStep& step) {
      if (step.player) return (step.player == 1 ? alice : bob).Say(channel, step.what);
      Operator(step.what);
    };
  }

  Ngircd server_;
  Scene scene_;
  TestClient watcher_{"watcher"};
  std::unique_ptr<Child> host_;
  HostWatch said_{scene_, watcher_, kHost};
};

// Operators steer the host by private message: boss (by mask) presses
// "get players" and is answered by notice; eve, who is no operator, hears
// one refusal however often she tries; boss's "exit" ends the host, as the
// config allows. A reload (SIGHUP) takes a second operator from the file,
// and the match is logged from "get players" to the end.
TEST_F(IrcMatchTest, OperatorsByPrivateMessage) {
  char folder[] = "/tmp/zorvik-ops-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string config = std::string(folder) + "/zorvik.toml";
  std::ofstream(config) << "log_folder = \"" << folder << "/logs\"\noperators_may_exit = true\n"
                        << "[[operator]]\nmask = \"boss!*@127.0.0.1\"\n";
  StartHost({Url(false), "--nick", kHost, "--config", config});
  TestClient boss("boss");
  TestClient eve("eve");
  for (TestClient* client : {&boss, &eve}) ASSERT_TRUE(Enter(*client));
  boss.Send("PRIVMSG " + kHost + " :get players");
  EXPECT_TRUE(HostSays("-=|[type: -join]=-"));
  EXPECT_TRUE(scene_.Until([&] { return boss.Noticed(kHost) > 0; }, 10));
  for (int i = 0; i < 3; ++i) eve.Send("PRIVMSG " + kHost + " :" + kChannel + " stop");
  ASSERT_TRUE(scene_.Until([&] { return eve.Noticed(kHost) > 0; }, 10));
  scene_.For(2);
  EXPECT_EQ(eve.Noticed(kHost), 1);

  std::ofstream(config, std::ios::app) << "[[operator]]\nmask = \"eve!*@127.0.0.1\"\n";
  kill(host_->pid(), SIGHUP);
  EXPECT_TRUE(scene_.Until([&] { return host_->Printed(": 2 operators now, who may"); }, 10));
  boss.Send("PRIVMSG " + kHost + " :exit");
  EXPECT_TRUE(scene_.Until([&] { return host_->Printed("[exit] goodbye"); }, 20));
  const std::filesystem::directory_iterator logs(std::string(folder) + "/logs");
  ASSERT_NE(logs, std::filesystem::directory_iterator());
  std::ostringstream log;
  log << std::ifstream(logs->path()).rdbuf();
  EXPECT_NE(log.str().find("\t" + kHost + "\t-=|[type: -join]=-\n"), std::string::npos)
      << log.str();
  EXPECT_TRUE(log.str().ends_with("\t#exit\n")) << log.str();
  std::filesystem::remove_all(folder);
}

// A whole match over TLS (the host trusts the test's CA), with alice on the
// tests' client and bob on sic, from "get players" to the winner and "exit".
TEST_F(IrcMatchTest, WholeMatchOverTls) {
  StartHost({Url(true), "--nick", kHost, "--ca-file", server_.certificate(), "--seed", "110",
             "--burst", "10", "--lines-per-second", "2.5"});
  TestClient alice("alice");
  ASSERT_TRUE(Enter(alice));
  Child bob({"sic", "-h", "127.0.0.1", "-p", std::to_string(server_.port()), "-n", "bob"});
  scene_.Add(bob);
  ASSERT_TRUE(
      scene_.Until([&] { return bob.Printed("End of /MOTD") || bob.Printed(" 376 "); }, 10));
  bob.Write(":j " + kChannel + "\n");
  ASSERT_TRUE(scene_.Until([&] { return watcher_.Count(":bob!", " JOIN ") > 0; }, 10));

  // Alice picks in bold, as some clients send it; bob with a leading space,
  // as a player would type it.
  std::vector<MatchStep> opening = kMatchOpening;
  opening[4].what = "\x02i choose /pikachu\x02";
  opening[5].what = " /bulbasaur";
  ASSERT_EQ(PlayInterleaved(said_, *host_, {kChannel}, opening,
                            [&](const std::string&, const MatchStep& step) {
                              if (step.player == 1) return alice.Say(kChannel, step.what);
                              if (step.player == 2) return bob.Write(step.what + "\n");
                              Operator(step.what);
                            }),
            "");
  int attacks = 0;
  for (int turn; (turn = NextTurnListened()) > 0 && attacks < 60; ++attacks) {
    if (turn == 1)
      alice.Say(kChannel, "/thundershock");
    else
      bob.Write("/tackle\n");
  }
  const std::vector<Heard> lines = HostLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines.back().text == "-=|[bob defeated alice]|=-" ||
              lines.back().text == "-=|[alice defeated bob]|=-")
      << lines.back().text;
  EXPECT_GE(attacks, 7);

  Operator("exit");
  EXPECT_TRUE(scene_.Until([&] { return host_->Printed("[exit] goodbye"); }, 20));
  EXPECT_TRUE(scene_.Until([&] { return watcher_.Count(":" + kHost + "!", " QUIT ") > 0; }, 20));
  std::printf("[ figures  ] whole match: %d attacks, %zu host lines\n", attacks,
              HostLines().size());
}

// With [autopilot] in the config the players run a match with nobody at
// the buttons: +battle opens it, the host presses setup and start itself,
// and a player who quits forfeits once the grace is over. SIGTERM in the
// next match ends the host at once: QUIT, "#exit" in the log, status 0.
TEST_F(IrcMatchTest, AutopilotRunsTheMatchAndALeaverForfeits) {
  char folder[] = "/tmp/zorvik-auto-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string config = std::string(folder) + "/zorvik.toml";
  std::ofstream(config) << "log_folder = \"" << folder << "/logs\"\n"
                        << "[autopilot]\nenabled = true\ngap = 0.5\nleave_grace = 3\n";
  StartHost({Url(false), "--nick", kHost, "--config", config, "--burst", "10",
             "--lines-per-second", "2.5"});
  TestClient alice("alice");
  TestClient bob("bob");
  for (TestClient* client : {&alice, &bob}) ASSERT_TRUE(Enter(*client));

  // +help goes to the asker alone, once a minute.
  alice.Say(kChannel, "+help");
  alice.Say(kChannel, "+help");
  const auto helped = [&](const TestClient& client) {
    return client.Count(":" + kHost + "!", " NOTICE " + client.nick() + " :zorvik battles in ");
  };
  ASSERT_TRUE(scene_.Until([&] { return helped(alice) > 0; }, 10));
  // Its last line (the time limits), after which nothing more comes.
  EXPECT_TRUE(scene_.Until([&] { return alice.Count(":" + kHost + "!", " a turn; ") > 0; }, 5));
  scene_.For(1);
  EXPECT_EQ(helped(alice), 1);
  EXPECT_EQ(helped(bob) + watcher_.Count(":" + kHost + "!", " NOTICE "), 0);

  const std::vector<MatchStep> steps = {
      {"", 0, 1, "+Battle"}, {"-=|[type: -join]=-", 1, 1, "-join"},
      {"-=|[alice has joined the game]|=-", 0, 2, "-join"},
      {"-=|[alice enter your zorvik first]|=-", 2, 1, "/pikachu"},
      {"-=|[bob type in a valid zorvik name]|=-", 3, 2, "/mew"}};
  ASSERT_EQ(PlayInterleaved(said_, *host_, {kChannel}, steps, Moves(alice, bob)), "");
  ASSERT_TRUE(HostSays("-=|[alice choose your attack]|=-"));
  ASSERT_TRUE(Listening(4));
  bob.Send("QUIT :gone");
  ASSERT_TRUE(HostSays("-=|[bob left the game: alice wins]|=-", 15));
  EXPECT_TRUE(host_->Printed("[auto] #battles: bob left; they forfeit unless back within 3"));
  EXPECT_TRUE(scene_.Until(
      [&] { return host_->Printed("[auto] #battles: bob left the game; alice wins"); }, 5));

  alice.Say(kChannel, "+battle");
  ASSERT_TRUE(HostSays("-=|[accepting players to battle!]=-"));
  kill(host_->pid(), SIGTERM);
  int status = -1;
  EXPECT_TRUE(scene_.Until([&] { return (status = host_->ExitStatus()) >= 0; }, 5));
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(scene_.Until(
      [&] { return watcher_.Count(":" + kHost + "!", " QUIT :\"zorvik stopped (SIGTERM)") > 0; },
      5)) << LastLines("watcher", watcher_.raw, 5);
  std::vector<std::string> logs;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(folder) + "/logs")) {
    logs.push_back(entry.path());
  }
  std::sort(logs.begin(), logs.end());
  ASSERT_EQ(logs.size(), 2u);
  std::ostringstream last;
  last << std::ifstream(logs.back()).rdbuf();
  EXPECT_TRUE(last.str().ends_with("\t#exit\n")) << last.str();
  std::filesystem::remove_all(folder);
}

// The server dies mid-battle and comes back: the host reconnects, joins
// again, and the battle goes on where it was.
TEST_F(IrcMatchTest, BattleSurvivesAServerRestart) {
  StartHost(
      {Url(false), "--nick", kHost, "--seed", "110", "--burst", "10", "--lines-per-second", "2.5"});
  TestClient alice("alice"), bob("bob");
  ASSERT_TRUE(Enter(alice));
  ASSERT_TRUE(Enter(bob));
  ASSERT_EQ(PlayInterleaved(said_, *host_, {kChannel}, kMatchOpening, Moves(alice, bob)), "");
  ASSERT_EQ(NextTurnListened(), 1);
  alice.Say(kChannel, "/thundershock");
  ASSERT_EQ(NextTurnListened(), 2);
  // bulbasaur is hit: its hit points are below 500 now.
  const std::string hurt = HostLines()[HostLines().size() - 2].text;
  ASSERT_TRUE(hurt.starts_with("-=|[bulbasaur: ") && hurt.find("500/500") == std::string::npos)
      << hurt;

  server_.Kill();
  const double down = Elapsed();
  const std::size_t killed = host_->lines.size();
  ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[irc] connection lost", killed); }, 10));
  ASSERT_TRUE(server_.Start());
  ASSERT_TRUE(Enter(watcher_));
  // The watcher may have joined after the host: the host's console says.
  ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[irc] joined #battles", killed); }, 20));
  const double back = Elapsed();
  ASSERT_TRUE(Enter(alice));
  ASSERT_TRUE(Enter(bob));
  said_.cursor = watcher_.heard.size();

  // Bob's turn is still bob's: the battle goes on.
  bob.Say(kChannel, "/tackle");
  ASSERT_TRUE(HostSays("points of damage!"));
  ASSERT_TRUE(HostSays("-=|[pikachu: "));
  ASSERT_TRUE(HostSays("-=|[bulbasaur: "));
  EXPECT_EQ(HostLines().back().text, hurt) << "bulbasaur's hit points were kept";
  ASSERT_EQ(NextTurnListened(), 1);
  alice.Say(kChannel, "/thunder");
  ASSERT_EQ(NextTurnListened(), 2);
  Operator("stop");
  EXPECT_TRUE(scene_.Until([&] { return host_->Printed("buttons: get players, exit, info"); }, 10));
  std::printf("[ figures  ] server down at %.1f s, host back in the channel %.1f s later\n", down,
              back - down);
}

// 200 spectator lines a second during a battle: the game answers moves
// promptly, the host's memory stays bounded, and the host never sends
// faster than its default rate (burst 4, then one line a second).
TEST_F(IrcMatchTest, SpectatorFloodDuringBattle) {
  StartHost({Url(false), "--nick", kHost, "--seed", "110"});
  TestClient alice("alice"), bob("bob"), crowd("crowd");
  ASSERT_TRUE(Enter(alice));
  ASSERT_TRUE(Enter(bob));
  ASSERT_TRUE(Enter(crowd));
  // The crowd may talk fast: the server would otherwise throttle it.
  crowd.Send("OPER flood floodpw");
  crowd.Send("MODE crowd +F");
  ASSERT_TRUE(scene_.Until([&] { return crowd.Count("", {"MODE crowd", "+F"}) > 0; }, 10));

  ASSERT_EQ(PlayInterleaved(said_, *host_, {kChannel}, kMatchOpening, Moves(alice, bob)), "");
  ASSERT_EQ(NextTurnListened(30), 1);

  const long rss_before = host_->RssKib();
  const double flood_start = Elapsed();
  long flooded = 0;
  scene_.SetTick([&] {
    const auto due = static_cast<long>((Elapsed() - flood_start) * 200);
    for (; flooded < due; ++flooded) {
      crowd.Say(kChannel, "spectator line " + std::to_string(flooded) + " /thunder -join +moves");
    }
  });
  std::vector<double> answers;
  for (int i = 0; i < 4; ++i) {
    const int turn = i % 2 + 1;
    const double asked = Elapsed();
    (turn == 1 ? alice : bob).Say(kChannel, turn == 1 ? "/thundershock" : "/tackle");
    ASSERT_TRUE(HostSays("points of damage!", 15));
    answers.push_back(Elapsed() - asked);
    ASSERT_EQ(NextTurnListened(15), turn == 1 ? 2 : 1);
  }
  const double flood_seconds = Elapsed() - flood_start;
  scene_.SetTick(nullptr);
  const long rss_after = host_->RssKib();
  Operator("stop");
  scene_.For(0.5);

  const double slowest = *std::max_element(answers.begin(), answers.end());
  EXPECT_LT(slowest, 4.0) << "a move took that long to be answered";
  EXPECT_GT(static_cast<double>(flooded) / flood_seconds, 150.0);
  EXPECT_LT(rss_after - rss_before, 16 * 1024) << "KiB grown under the flood";

  // The rate, as another client sees it (0.15 s allowed for delivery).
  const std::vector<Heard> lines = HostLines();
  for (std::size_t a = 0; a < lines.size(); ++a) {
    for (std::size_t b = a + 1; b < lines.size() && b < a + 40; ++b) {
      const double window = lines[b].at - lines[a].at;
      EXPECT_LE(static_cast<double>(b - a + 1), 4 + window + 0.15)
          << "lines " << a << " to " << b << " in " << window << " s";
    }
  }
  std::printf(
      "[ figures  ] flood: %ld lines in %.1f s (%.0f/s); slowest answer %.2f s; "
      "host RSS %ld -> %ld KiB; %zu host lines checked for rate\n",
      flooded, flood_seconds, static_cast<double>(flooded) / flood_seconds, slowest, rss_before,
      rss_after, lines.size());
}

// The certificate is checked by default: without --ca-file the host does
// not trust the test server's self-signed certificate and never joins.
TEST_F(IrcMatchTest, TlsRefusesAnUntrustedCertificate) {
  host_ = std::make_unique<Child>(
      std::vector<std::string>{ZORVIK_BINARY, "irc", Url(true), "--nick", kHost});
  scene_.Add(*host_);
  ASSERT_TRUE(scene_.Until([&] { return host_->Printed("certificate is not trusted"); }, 10));
  EXPECT_EQ(HostJoins(), 0);
}

// Started as a service is (standard input /dev/null) with no operators and
// no autopilot, nobody could start a match: the host says so, once, on
// standard error too. With the autopilot it has nothing to say.
TEST(IrcHostAloneTest, SaysWhenNobodyCanSteerIt) {
  char folder[] = "/tmp/zorvik-alone-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string config = std::string(folder) + "/zorvik.toml";
  std::ofstream(config) << "[autopilot]\nenabled = true\n";
  for (const bool autopilot : {false, true}) {
    const std::string command = std::string("timeout 2 ") + ZORVIK_BINARY +
                                " irc irc://127.0.0.1:1/#x --nick z" +
                                (autopilot ? " --config " + config : "") +
                                " </dev/null 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string errors;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      errors.append(buffer, got);
    }
    pclose(pipe);
    EXPECT_EQ(errors.find("zorvik: nobody can steer this host") != std::string::npos, !autopilot)
        << errors;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zorvik::irc_test
