// The host on a network with accounts: InspIRCd and Atheme services on
// loopback, the host as the real program logging in with SASL PLAIN, an
// operator who is known by account, and players on the tests' own client.
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "irc_harness.h"
#include "services_network.h"

namespace zorvik::irc_test {
namespace {

const std::string kChannel = "#arena";
const std::string kHost = "zhost";
const std::string kHostPassword = "host-secret-1";

class IrcServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ServicesNetwork::Installed()) GTEST_SKIP() << "inspircd or atheme-services is missing";
    std::string problem;
    ASSERT_TRUE(network_.Start(problem)) << problem;
    ASSERT_TRUE(network_.Register(kHost, kHostPassword)) << network_.Logs();
    unsetenv("ZORVIK_IRC_PASSWORD");
    ASSERT_TRUE(Enter(watcher_, true));
  }

  // A failing scenario ends with what the host's terminal showed last and
  // the network's logs.
  void TearDown() override {
    if (!HasFailure()) return;
    std::printf("%s%s", host_ ? LastLines("host terminal", host_->lines, 40).c_str() : "",
                network_.Logs().c_str());
  }

  // Connects `client` (logged in, when it uses SASL) and joins the channel;
  // the scene pumps it from now on.
  bool Enter(TestClient& client, bool join, const char* from = "127.0.0.1") {
    scene_.Add(client);
    if (!client.Open(network_.port(), from)) return false;
    if (!scene_.Until([&] { return client.registered(); }, 10)) return false;
    if (!join) return true;
    client.Send("JOIN " + kChannel);
    return scene_.Until([&] { return client.InChannel(); }, 10);
  }

  // Starts the host from a config that logs in as kHost with the password
  // from a file only its owner may read, with `more` (channels, operators)
  // before its [sasl] table.
  void StartHost(const std::string& more) {
    const std::string password = network_.dir() + "/host-password";
    std::ofstream(password) << kHostPassword << "\n";
    chmod(password.c_str(), 0600);
    const std::string config = network_.dir() + "/zorvik.toml";
    std::ofstream(config) << "server = \"irc://127.0.0.1:" << network_.port() << "/" << kChannel
                          << "\"\nnick = \"" << kHost << "\"\n"
                          << more << "[sasl]\nenabled = true\naccount = \"" << kHost
                          << "\"\npassword_file = \"" << password << "\"\n";
    hosts_.push_back(std::make_unique<Child>(
        std::vector<std::string>{ZORVIK_BINARY, "irc", "--config", config, "--seed", "110"}));
    host_ = hosts_.back().get();
    scene_.Add(*host_);
  }

  bool HostSays(const std::string& part, double seconds = 30) { return said_.Says(part, seconds); }

  // Presses `command` once the console shows it usable (in `channel`, when
  // the host serves several): `op` by private message, answered by notice
  // with the console's state, or else on the host's terminal.
  void Press(TestClient* op, const std::string& command, const std::string& channel = {}) {
    const std::string shown = channel.empty() ? "" : "channel " + channel + "\n";
    EXPECT_TRUE(HostShows(scene_, *host_, "buttons:", command, 30, shown))
        << command << " never became usable";
    if (!op) return host_->Write(shown + command + "\n");
    const std::size_t from = op->raw.size();
    op->Send("PRIVMSG " + kHost + " :" + (channel.empty() ? "" : channel + " ") + command);
    EXPECT_TRUE(scene_.Until([&] { return op->Noticed(kHost, "[console]", from) > 0; }, 20))
        << command;
  }

  ServicesNetwork network_;
  Scene scene_;
  TestClient watcher_{"watcher"};
  std::vector<std::unique_ptr<Child>> hosts_;  // the scene pumps them all
  Child* host_ = nullptr;
  HostWatch said_{scene_, watcher_, kHost};
};

// The host logs in to its account with the password from its file, and the
// server says so; a wrong password (from the environment, which wins over
// the file) stops the host at once with the reason and a failing status,
// instead of trying again and again.
TEST_F(IrcServicesTest, HostLogsInWithSasl) {
  const struct {
    const char* environment;  // ZORVIK_IRC_PASSWORD, or null
    bool logs_in;
  } cases[] = {{nullptr, true}, {"not-the-password", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.environment ? c.environment : "password file");
    if (c.environment) setenv("ZORVIK_IRC_PASSWORD", c.environment, 1);
    StartHost("");
    if (c.logs_in) {
      ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[irc] joined " + kChannel); }, 20));
      const std::size_t from = watcher_.raw.size();
      watcher_.Send("WHOIS " + kHost);
      const std::string logged_in = " 330 watcher " + kHost + " " + kHost + " :";
      EXPECT_TRUE(scene_.Until([&] { return watcher_.Count("", logged_in, from) > 0; }, 10));
      host_->Kill();
      continue;
    }
    int status = -1;
    EXPECT_TRUE(scene_.Until([&] { return (status = host_->ExitStatus()) >= 0; }, 20));
    host_->Drain();  // what it printed last may still be in the pipe
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(host_->Printed("[irc] giving up: SASL login as " + kHost + " failed"));
  }
}

// An operator known by account, logged in by SASL, runs a whole match by
// private messages while alice and bob play it, at the host's
// default rate, which never runs into the server's flood limits. Before
// that, eve (no operator) and an impostor using the operator's nick without
// the account each hear one refusal, however often they ask, and nothing
// happens in the channel.
TEST_F(IrcServicesTest, OperatorByAccountRunsAMatch) {
  const std::string op_password = "boss-secret-2";
  ASSERT_TRUE(network_.Register("boss", op_password));
  StartHost("[[operator]]\naccount = \"boss\"\n");
  ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[irc] joined " + kChannel); }, 20));
  // From hosts of their own: the host refuses a host once, whatever nick.
  TestClient eve("eve"), impostor("boss");
  for (TestClient* client : {&eve, &impostor}) {
    TestClient& refused = *client;
    SCOPED_TRACE(refused.nick());
    ASSERT_TRUE(Enter(refused, false, client == &eve ? "127.0.0.2" : "127.0.0.3"));
    for (int i = 0; i < 3; ++i) refused.Send("PRIVMSG " + kHost + " :get players");
    ASSERT_TRUE(
        scene_.Until([&] { return refused.Noticed(kHost, "you are not an operator") > 0; }, 10));
    scene_.For(1.5);
    EXPECT_EQ(refused.Noticed(kHost), 1);
    refused.Send("QUIT");
    scene_.For(0.3);
  }
  EXPECT_FALSE(HostSays("-=|[type: -join]=-", 0.1)) << "a refused press was pressed";

  TestClient boss("boss"), alice("alice"), bob("bob");
  boss.UseSasl("boss", op_password);
  for (TestClient* client : {&boss, &alice, &bob}) ASSERT_TRUE(Enter(*client, client != &boss));
  ASSERT_TRUE(boss.logged_in());
  const double start = Elapsed();
  const auto moves = [&](const std::string& channel, const MatchStep& step) {
    if (step.player) return (step.player == 1 ? alice : bob).Say(channel, step.what);
    Press(&boss, step.what);
  };
  ASSERT_EQ(PlayInterleaved(said_, *host_, {kChannel}, kMatchOpening, moves), "");
  int attacks = 0, turn;
  while ((turn = NextTurn(said_, *host_, 30)) > 0 && attacks++ < 60)
    (turn == 1 ? alice : bob).Say(kChannel, turn == 1 ? "/thundershock" : "/tackle");
  ASSERT_EQ(turn, 0) << "the battle did not end";
  Press(&boss, "stop");

  for (const TestClient* client : {&boss, &alice, &bob, &watcher_})
    EXPECT_EQ(client->Count("", "Excess Flood"), 0) << client->nick();
  EXPECT_FALSE(host_->Printed("Excess Flood") || host_->Printed("connection lost"));
  std::printf("[ figures  ] match by an operator: %d attacks in %.1f s at the default rate\n",
              attacks, Elapsed() - start);
}

// Two channels at once, the same seeded match in each, every step in one
// channel and then the other, the buttons pressed in the first by the
// operator known by account (private messages naming the channel) and in
// the second on the host's terminal once switched to it: each channel's
// lines equal those of the match played alone, and while the host served
// the first alone, the second heard nothing from it.
TEST_F(IrcServicesTest, TwoChannelsPlayAsIfAlone) {
  const std::string second = "#second";
  ASSERT_TRUE(network_.Register("boss", "boss-secret-2"));
  TestClient boss("boss"), alice("alice"), bob("bob");
  boss.UseSasl("boss", "boss-secret-2");
  for (TestClient* client : {&boss, &alice, &bob}) ASSERT_TRUE(Enter(*client, client != &boss));
  for (TestClient* client : {&watcher_, &alice, &bob}) client->Send("JOIN " + second);
  std::vector<std::string> alone;
  for (const bool both : {false, true}) {
    const std::size_t from = said_.cursor = watcher_.heard.size();
    StartHost((both ? "channels = [\"" + second + "\"]\n" : "") +
              "[[operator]]\naccount = \"boss\"\n");
    ASSERT_TRUE(scene_.Until(
        [&] { return host_->Printed("[irc] joined " + (both ? second : kChannel)); }, 20));
    const auto channels = both ? std::vector{kChannel, second} : std::vector{kChannel};
    const auto moves = [&](const std::string& channel, const MatchStep& step) {
      if (step.player) return (step.player == 1 ? alice : bob).Say(channel, step.what);
      Press(channel == kChannel ? &boss : nullptr, step.what, both ? channel : "");
    };
    ASSERT_EQ(PlayInterleaved(said_, *host_, channels, kTwoAttackMatch, moves), "");
    UntilQuiet(said_);
    for (const std::string& channel : {kChannel, second}) {
      const std::vector<std::string> lines = HostLinesIn(said_, channel, from);
      if (alone.empty()) alone = lines;
      EXPECT_EQ(lines, both || channel == kChannel ? alone : std::vector<std::string>()) << channel;
    }
    host_->Write("exit\n");
    ASSERT_TRUE(scene_.Until([&] { return host_->ExitStatus() == 0; }, 20));
  }
  EXPECT_GT(alone.size(), 30u);
}

}  // namespace
}  // namespace zorvik::irc_test
