#include "bridge/irc/irc_client.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

constexpr Micros kSecond = kMicrosPerSecond;
using Lines = std::vector<std::string>;

// What a client named "host" says first, followed by `then`.
Lines Hello(const Lines& then = {}) {
  Lines lines = {"CAP LS 302", "NICK host", "USER zorvik 0 * :zorvik battle host"};
  lines.insert(lines.end(), then.begin(), then.end());
  return lines;
}

// A scripted server behind fake transports: it records every line the
// client writes (with the loop's time) and speaks through the handlers, as
// the loop's dispatch would. One transport at a time is the live one.
class FakeServer {
 public:
  class Transport : public IrcTransport {
   public:
    Transport(FakeServer& server, EventLoop& loop) : server_(server), loop_(loop) {}
    ~Transport() override { Close(); }
    void Open(Handlers handlers) override {
      handlers_ = std::move(handlers);
      server_.live_ = this;
      server_.opened_at.push_back(loop_.Now());
      if (server_.refuse) {
        loop_.Post([this] { Hangup("connection refused"); });
      } else if (server_.auto_accept) {
        loop_.Post([this] { handlers_.connected(); });
      }
    }
    void Write(std::string_view bytes) override {
      if (closed_) return;
      std::string_view rest = bytes;
      while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        EXPECT_NE(end, std::string_view::npos) << "a line without CR LF";
        server_.lines.emplace_back(rest.substr(0, end));
        server_.times.push_back(loop_.Now());
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
      }
    }
    void Close() override {
      closed_ = true;
      if (server_.live_ == this) server_.live_ = nullptr;
    }
    void Hangup(const std::string& reason) {
      if (closed_) return;
      Close();
      handlers_.closed(reason);
    }
    Handlers handlers_;

   private:
    FakeServer& server_;
    EventLoop& loop_;
    bool closed_ = false;
  };

  IrcTransportFactory Factory(EventLoop& loop) {
    return [this, &loop] { return std::make_unique<Transport>(*this, loop); };
  }

  bool live() const { return live_ != nullptr; }
  void Say(const std::string& line) { SayBytes(line + "\r\n"); }
  void SayBytes(std::string_view bytes) {
    ASSERT_TRUE(live_) << "no connection for " << bytes;
    live_->handlers_.received(bytes);
  }
  void Hangup() {
    ASSERT_TRUE(live_);
    live_->Hangup("connection reset by peer");
  }
  // Lines written since the last call.
  std::vector<std::string> Take() {
    std::vector<std::string> taken(lines.begin() + static_cast<long>(taken_), lines.end());
    taken_ = lines.size();
    return taken;
  }

  std::vector<std::string> lines;
  std::vector<Micros> times, opened_at;
  bool auto_accept = true;
  bool refuse = false;

 private:
  Transport* live_ = nullptr;
  std::size_t taken_ = 0;
};

class IrcClientTest : public ::testing::Test {
 protected:
  void Make(IrcClientSettings settings = {}) {
    if (settings.nick.empty()) settings.nick = "host";
    if (settings.channel.empty()) settings.channel = "#battles";
    client_ = std::make_unique<IrcClient>(loop_, server_.Factory(loop_), settings);
    client_->SetStatusObserver([this](IrcStatus status, const std::string& text) {
      const char* kind = status == IrcStatus::kFatal     ? "fatal: "
                         : status == IrcStatus::kMessage ? "message: "
                                                         : "info: ";
      statuses_.push_back(kind + text);
    });
    client_->channel(0).Subscribe([this](const std::string& nick, const std::string& text) {
      heard_.push_back(nick + ": " + text);
    });
    client_->Start();
    loop_.DispatchPending();
  }

  // Records what reaches the private observer in `private_`.
  void WatchPrivate() {
    client_->SetPrivateObserver([this](const IrcSender& sender, const std::string& text) {
      private_.push_back(sender.prefix + " [" + sender.account + "] " + text);
    });
  }

  // The server says each of `lines` in turn.
  void Say(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) server_.Say(line);
  }

  // Takes the client through registration and into the channel; what it
  // wrote on the way is forgotten unless `keep`.
  void Register(bool keep = false) {
    Say({"CAP * LS :multi-prefix", ":srv 001 host :Welcome", ":host!u@h JOIN #battles"});
    ASSERT_TRUE(client_->channel(0).joined());
    if (!keep) server_.Take();
  }

  // The PRIVMSG and NOTICE lines written since the last Take, as
  // "TARGET TEXT".
  std::vector<std::string> Privmsgs() {
    std::vector<std::string> found;
    for (const std::string& line : server_.Take()) {
      const auto message = ParseIrcLine(line);
      if (!message || (message->command != "PRIVMSG" && message->command != "NOTICE")) continue;
      found.push_back(message->Param(0) + " " + message->Param(1));
    }
    return found;
  }

  VirtualLoop loop_;
  FakeServer server_;
  std::unique_ptr<IrcClient> client_;
  std::vector<std::string> statuses_, heard_;
  std::vector<std::string> private_;  // "PREFIX [ACCOUNT] TEXT"
};

// Registration: CAP LS, NICK, USER; CAP END when nothing is wanted; a nick
// in use is tried with "_", "__", then a digit kept inside nine bytes; the
// welcome's nick is taken as ours and the channel is joined.
TEST_F(IrcClientTest, RegistersUnderAFreeNickAndJoins) {
  IrcClientSettings settings;
  settings.nick = "zorvikhost";
  Make(settings);
  EXPECT_EQ(server_.Take(),
            (Lines{"CAP LS 302", "NICK zorvikhost", "USER zorvik 0 * :zorvik battle host"}));
  server_.Say(":srv CAP * LS * :multi-prefix");
  EXPECT_TRUE(server_.Take().empty());  // more caps to come
  server_.Say(":srv CAP * LS :away-notify");
  for (int i = 0; i < 3; ++i) server_.Say(":srv 433 * taken :Nickname already in use");
  EXPECT_EQ(server_.Take(),
            (Lines{"CAP END", "NICK zorvikhost_", "NICK zorvikhost__", "NICK zorvikho1"}));
  server_.Say(":srv 001 zorvikho1 :Welcome");
  EXPECT_EQ(client_->nick(), "zorvikho1");
  EXPECT_EQ(server_.Take(), (Lines{"JOIN #battles"}));
  server_.Say(":srv 433 zorvikho1 other :Nickname already in use");  // after registration: ignored
  server_.Say(":ZORVIKHO1!u@h JOIN #Battles");
  EXPECT_TRUE(client_->channel(0).joined());
  EXPECT_TRUE(server_.Take().empty());
}

// The password goes with SASL PLAIN only when asked for, and only if the
// server offers it; otherwise as the server password. A failed or
// impossible login ends the client for good: no reconnecting.
TEST_F(IrcClientTest, LogsInWithSaslOrServerPassword) {
  struct Case {
    bool sasl;
    std::string caps, outcome;  // outcome: the server's answer to the credentials
    Lines lines;
    bool fatal;
  };
  const std::string auth = "AUTHENTICATE aG9zdABob3N0AHNlY3JldA==";
  const std::vector<Case> cases = {
      {true, "sasl multi-prefix", "903",
       Hello({"CAP REQ sasl", "AUTHENTICATE PLAIN", auth, "CAP END"}), false},
      {true, "sasl=PLAIN,EXTERNAL", "904",
       Hello({"CAP REQ sasl", "AUTHENTICATE PLAIN", auth,
              "QUIT :giving up: SASL login as host failed: bad password"}),
       true},
      {true, "multi-prefix", "",
       Hello({"QUIT :giving up: the server does not offer SASL, so the account cannot log in"}),
       true},
      {false, "sasl", "",
       {"PASS secret", "CAP LS 302", "NICK host", "USER zorvik 0 * :zorvik battle host", "CAP END"},
       false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caps + " " + c.outcome);
    server_ = FakeServer();
    statuses_.clear();
    IrcClientSettings settings;
    settings.password = "secret";
    settings.sasl = c.sasl;
    Make(settings);
    server_.Say(":srv CAP * LS :" + c.caps);
    if (server_.live()) server_.Say(":srv CAP host ACK :sasl");
    if (server_.live()) server_.Say("AUTHENTICATE +");
    if (server_.live() && !c.outcome.empty())
      server_.Say(":srv " + c.outcome + " host :bad password");
    EXPECT_EQ(server_.Take(), c.lines);
    EXPECT_EQ(!statuses_.empty() && statuses_.back().starts_with("fatal: "), c.fatal);
    if (c.fatal) {
      loop_.Wait(3600 * kSecond);
      EXPECT_EQ(server_.opened_at.size(), 1u);
    }
  }
}

// Credentials longer than one SASL chunk go in 400-byte pieces, and a
// last piece of exactly 400 bytes is followed by "+".
TEST_F(IrcClientTest, SplitsLongSaslCredentials) {
  IrcClientSettings settings;
  settings.sasl = true;
  settings.sasl_account = "acct";
  settings.password = std::string(400, 'p');
  Make(settings);
  Say({":srv CAP * LS :sasl", ":srv CAP host ACK :sasl"});
  server_.Take();
  server_.Say("AUTHENTICATE +");
  const std::vector<std::string> sent = server_.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].size(), std::string("AUTHENTICATE ").size() + 400);
  EXPECT_TRUE(sent[0].starts_with("AUTHENTICATE YWNjdABhY2N0AHBwcHBw"));
  EXPECT_EQ(sent[1].size(), std::string("AUTHENTICATE ").size() + 148);
}

// Room lines are the channel's PRIVMSGs from others, decoded and without
// colours; our own, other channels', notices and CTCP are not. Private
// messages reach the operator while instant messages are on; the switch
// sets and clears the caller-ID mode the server names; VERSION is answered.
TEST_F(IrcClientTest, RoomLinesPrivateMessagesAndTheSwitch) {
  Make();
  Register();
  Say({":srv 005 host CALLERID=g NICKLEN=30 :are supported", ":alice!a@h PRIVMSG #battles :-join",
       ":b\xE9o!b@h PRIVMSG #BATTLES :\00304i pick /pikachu\x0F",  // in colour
       ":host!u@h PRIVMSG #battles :my own line", ":carol!c@h PRIVMSG #elsewhere :-join",
       ":dave!d@h NOTICE #battles :-join", ":erin!e@h PRIVMSG #battles :\001ACTION -join\001",
       ":frank!f@h PRIVMSG #battles"});
  EXPECT_EQ(heard_, (Lines{"alice: -join", "b\xC3\xA9o: i pick /pikachu"}));

  Say({":alice!a@h PRIVMSG host :psst", ":alice!a@h NOTICE host :hello",
       ":services.net NOTICE host :server notice"});
  client_->channel(0).InstantMessagesOff();
  server_.Say(":alice!a@h PRIVMSG host :while off");
  client_->channel(0).InstantMessagesOff();
  client_->channel(0).InstantMessagesOn();
  server_.Say(":alice!a@h PRIVMSG host :\x01VERSION\x01");
  std::vector<std::string> messages;
  for (const std::string& status : statuses_) {
    if (status.starts_with("message: ")) messages.push_back(status);
  }
  EXPECT_EQ(messages, (Lines{"message: private message from alice: psst",
                             "message: notice from alice: hello"}));
  EXPECT_EQ(server_.Take(),
            (Lines{"MODE host +g", "MODE host -g", "NOTICE alice :\x01VERSION zorvik\x01"}));

  // Without CALLERID the switch only hides messages.
  server_ = FakeServer();
  Make();
  Register();
  client_->channel(0).InstantMessagesOff();
  client_->channel(0).InstantMessagesOn();
  EXPECT_TRUE(server_.Take().empty());
}

// With the default bucket, ChatSend runs at the game's pace (0.51 s) while
// the burst lasts, then at one line a second; a ChatSend nested in another's
// wait goes out after the outer line; the rate is never exceeded.
TEST_F(IrcClientTest, ChatSendWaitsForTheBucket) {
  Make();
  Register();
  const Micros start = loop_.Now();
  // Line 8 waits for the bucket from 3.57 s to 4 s; "nested" comes in
  // meanwhile and must not overtake it.
  loop_.ScheduleAt(start + 3'700'000, [this] { client_->channel(0).ChatSend("nested"); });
  for (int i = 1; i <= 9; ++i) client_->channel(0).ChatSend("line " + std::to_string(i));
  std::vector<std::string> texts;
  std::vector<Micros> at;  // milliseconds from the start
  for (std::size_t i = 0; i < server_.lines.size(); ++i) {
    const auto message = ParseIrcLine(server_.lines[i]);
    if (!message || message->command != "PRIVMSG") continue;
    texts.push_back(message->Param(1));
    at.push_back((server_.times[i] - start) / 1000);
  }
  EXPECT_EQ(texts, (Lines{"line 1", "line 2", "line 3", "line 4", "line 5", "line 6", "line 7",
                          "line 8", "nested", "line 9"}));
  EXPECT_EQ(at, (std::vector<Micros>{0, 510, 1020, 1530, 2040, 2550, 3060, 4000, 5000, 6020}));
}

// A long line is split within the server's limit without cutting a
// character, and no CR, LF or NUL in it reaches the wire.
TEST_F(IrcClientTest, LongLinesAreSplitAndLineBreaksNeverLeak) {
  IrcClientSettings settings;
  settings.lines_per_second = 1000;
  settings.burst = 100;
  Make(settings);
  Register();
  std::string oes;
  for (int i = 0; i < 300; ++i) oes += "\xC3\xB8";
  client_->channel(0).ChatSend(oes + "\r\nQUIT :bye\n" + std::string("a\0b", 3));
  std::string joined;
  const std::vector<std::string> sent = Privmsgs();
  ASSERT_EQ(sent.size(), 2u);
  for (const std::string& wire : sent) {
    // As relayed: ":host!" + 10 user bytes + "@" + 63 host bytes + " " +
    // "PRIVMSG #battles :" + text + CR LF.
    EXPECT_LE(1 + 4 + 1 + 10 + 1 + 63 + 1 + 9 + wire.size() + 1 + 2, kIrcLineLimit);
    ASSERT_TRUE(wire.starts_with("#battles "));
    const std::string text = wire.substr(std::string("#battles ").size());
    EXPECT_EQ(ToUtf8(text), text);
    joined += text;
  }
  EXPECT_EQ(joined, oes + "  QUIT :bye a b");
}

// The server's PING is answered at once; a quiet server is pinged after a
// minute; two silent minutes count as a lost link, which is made again
// after the backoff, and registration starts over.
TEST_F(IrcClientTest, PingsAndNoticesASilentServer) {
  Make();
  Register();
  server_.Say("PING :irc.example 42");
  EXPECT_EQ(server_.Take(), (Lines{"PONG :irc.example 42"}));
  loop_.Wait(59 * kSecond);
  EXPECT_TRUE(server_.Take().empty());
  loop_.Wait(6 * kSecond);
  EXPECT_EQ(server_.Take(), (Lines{"PING zorvik"}));
  loop_.Wait(54 * kSecond);
  EXPECT_TRUE(server_.live());
  loop_.Wait(1'500'000);  // 120.5 s of silence: gone, not yet back
  EXPECT_FALSE(server_.live());
  EXPECT_EQ(server_.opened_at.size(), 1u);
  loop_.Wait(kSecond);
  EXPECT_EQ(server_.opened_at.size(), 2u);
  EXPECT_EQ(server_.Take(), Hello());
  EXPECT_FALSE(client_->channel(0).joined());
}

// A server that keeps refusing is tried after 1, 2, 4, 8 ... seconds (less
// a jitter of up to a quarter), up to five minutes; a link that has stayed
// up for a minute starts the backoff over.
TEST_F(IrcClientTest, BacksOffWhileTheServerIsAway) {
  server_.refuse = true;
  Make();
  loop_.Wait(1800 * kSecond);
  std::vector<Micros> gaps;
  for (std::size_t i = 1; i < server_.opened_at.size(); ++i) {
    gaps.push_back(server_.opened_at[i] - server_.opened_at[i - 1]);
  }
  ASSERT_GE(gaps.size(), 12u);
  Micros nominal = kSecond;
  for (Micros gap : gaps) {
    EXPECT_GE(gap, nominal * 3 / 4);
    EXPECT_LE(gap, nominal);
    nominal = std::min<Micros>(nominal * 2, 300 * kSecond);
  }
  server_.refuse = false;
  for (int i = 0; i < 400 && !server_.live(); ++i) loop_.Wait(kSecond);
  ASSERT_TRUE(server_.live());
  Register();
  loop_.Wait(61 * kSecond);
  const std::size_t opened = server_.opened_at.size();
  server_.Hangup();
  loop_.Wait(kSecond);
  EXPECT_EQ(server_.opened_at.size(), opened + 1);
}

// Lines sent while the link is down wait in the bounded queue (ChatSend
// still takes its pause); after rejoining, the operator learns how many were
// dropped and the rest go out in order, paced by the bucket.
TEST_F(IrcClientTest, LinesWaitAcrossAReconnection) {
  IrcClientSettings settings;
  settings.queue_limit = 3;
  Make(settings);
  Register();
  server_.Hangup();
  const Micros down = loop_.Now();
  for (int i = 1; i <= 5; ++i) client_->channel(0).ChatSend("while away " + std::to_string(i));
  EXPECT_EQ(loop_.Now() - down, 5 * 510'000);
  EXPECT_EQ(client_->queued(), 3u);
  ASSERT_TRUE(server_.live());
  server_.Take();
  Register(/*keep=*/true);
  loop_.Wait(5 * kSecond);
  EXPECT_EQ(Privmsgs(),
            (Lines{"#battles while away 3", "#battles while away 4", "#battles while away 5"}));
  EXPECT_EQ(client_->dropped(), 2u);
  EXPECT_NE(std::find(statuses_.begin(), statuses_.end(),
                      "info: joined #battles; 2 lines could not wait for it and were dropped; "
                      "sending 3 waiting lines"),
            statuses_.end());
}

// Kicked, the host joins again after five seconds; the feedback mail goes
// as private messages, subject first, to the recipient or the configured
// feedback nick.
TEST_F(IrcClientTest, RejoinsAfterAKickAndMailsAsPrivateMessages) {
  IrcClientSettings settings;
  settings.feedback_nick = "ops";
  Make(settings);
  Register();
  server_.Say(":op!o@h KICK #battles host :out");
  EXPECT_FALSE(client_->channel(0).joined());
  loop_.Wait(4 * kSecond);
  EXPECT_TRUE(server_.Take().empty());
  loop_.Wait(2 * kSecond);
  EXPECT_EQ(server_.Take(), (Lines{"JOIN #battles"}));

  client_->SendMail("ZorvikDesk", "bug report", "line one\r\n\r\nline two");
  loop_.Wait(5 * kSecond);
  EXPECT_EQ(Privmsgs(), (Lines{"ops mail: bug report", "ops line one", "ops line two"}));
}

// Others coming and going are reported to the channel they concern; a quit
// to every channel; the host's own comings and goings are not.
TEST_F(IrcClientTest, ReportsWhoComesAndGoes) {
  IrcClientSettings settings;
  settings.more_channels = {IrcChannelSettings{"#other", ""}};
  Make(settings);
  Register();
  server_.Say(":host!u@h JOIN #other");
  Lines seen;
  for (std::size_t i = 0; i < 2; ++i) {
    client_->channel(i).SetPresenceObserver([&, i](const std::string& nick, bool here) {
      seen.push_back(client_->channel(i).name() + (here ? " +" : " -") + nick);
    });
  }
  Say({":ann!a@h JOIN #battles", ":ann!a@h PART #battles :bye", ":op!o@h KICK #other tom :out",
       ":bob!b@h QUIT :gone", ":host!u@h PART #other", ":ann!a@h JOIN #nowhere"});
  EXPECT_EQ(seen, (Lines{"#battles +ann", "#battles -ann", "#other -tom", "#battles -bob",
                         "#other -bob"}));
}

// A person keeps the name they came with through nick changes, so a seat
// follows them; someone who takes that name meanwhile is told apart.
TEST_F(IrcClientTest, PeopleKeepTheirNameThroughNickChanges) {
  Make();
  Register();
  Lines seen;
  client_->channel(0).SetPresenceObserver(
      [&](const std::string& nick, bool here) { seen.push_back((here ? "+" : "-") + nick); });
  Say({":bob!b@h NICK Bobby", ":Bobby!b@h NICK robert", ":robert!b@h PRIVMSG #battles :/pikachu",
       ":mal!m@x NICK BOB",  // mal goes by bob's old nick: still mal
       ":BOB!m@x PRIVMSG #battles :/pikachu", ":BOB!m@x QUIT :gone",
       ":bob!e@y JOIN #battles",  // a newcomer with bob's name
       ":bob!e@y PRIVMSG #battles :/pikachu", ":bob!e@y QUIT :gone", ":robert!b@h QUIT :gone",
       ":bob!b@h JOIN #battles",  // bob again, once the name is free
       ":bob!b@h PRIVMSG #battles :-join", ":ann!a@h NICK ann2",
       ":ann2!a@h NICK ann",  // back to her own name
       ":ann!a@h PRIVMSG #battles :hi"});
  EXPECT_EQ(heard_, (Lines{"bob: /pikachu", "mal: /pikachu", "bob': /pikachu", "bob: -join",
                           "ann: hi"}));
  EXPECT_EQ(seen, (Lines{"-mal", "+bob'", "-bob'", "-bob", "+bob"}));
}

// Hostile bytes from the server — garbage, broken lines, replies missing
// their parameters, an endless line — change nothing: the client still
// answers PING and still hears the room.
TEST_F(IrcClientTest, SurvivesHostileServerBytes) {
  Make();
  Register();
  const char* const kBroken[] = {
      "",     ":",    "@",        "@;;=;",        ": :",          "001",   "005",           "433",
      "432",  "CAP",  "CAP * LS", "CAP * ACK",    "AUTHENTICATE", "KICK",  "KICK #battles", "PART",
      "JOIN", "NICK", "PRIVMSG",  "PRIVMSG host", "NOTICE",       "ERROR", "404",           "471"};
  for (const char* line : kBroken) server_.Say(line);
  server_.Say("PRIVMSG #battles :\x01");
  server_.Say("\xFF\xFE :\xC0 PRIVMSG #battles :\xE2\x82");
  server_.SayBytes(std::string("\0\0\0\r\n", 5));
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  server_.SayBytes(garbage);
  server_.SayBytes(std::string(100000, 'x'));
  server_.SayBytes("\r\nPING :still\r\n:alice!a@h PRIVMSG #battles :-join\r\n");
  EXPECT_TRUE(client_->channel(0).joined());
  const std::vector<std::string> sent = server_.Take();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), "PONG still");
  EXPECT_EQ(heard_.back(), "alice: -join");
}

// The account capabilities are asked for one by one where offered; private
// messages reach their observer with the sender's account, from the tag
// when the server tags, else from extended-join and account-notify, and
// forgotten once the sender leaves the channel.
TEST_F(IrcClientTest, PrivateMessagesCarryTheSendersAccount) {
  for (const bool tagged : {true, false}) {
    server_.Take();
    IrcClientSettings settings;
    settings.keep_private_messages = true;
    private_.clear();
    Make(settings);
    WatchPrivate();
    server_.Take();
    server_.Say(std::string(":srv CAP * LS :") + (tagged ? "account-tag " : "") +
                "account-notify extended-join");
    std::vector<std::string> reqs = {"CAP REQ account-notify", "CAP REQ extended-join"};
    if (tagged) reqs.insert(reqs.begin(), "CAP REQ account-tag");
    EXPECT_EQ(server_.Take(), reqs);
    if (tagged) server_.Say(":srv CAP host ACK :account-tag");
    Say({":srv CAP host ACK :account-notify", ":srv CAP host NAK :extended-join"});
    EXPECT_EQ(server_.Take(), (Lines{"CAP END"}));
    server_.Say(":srv 001 host :Welcome");
    if (tagged) server_.Say(":srv 005 host WHOX :are supported");  // no look-ups: tagged
    Say({":host!u@h JOIN #battles", ":al!a@h ACCOUNT alice",
         "@account=alice :al!a@h PRIVMSG host :start", ":al!a@h PRIVMSG host :stop",
         ":al!a@h PART #battles", ":al!a@h PRIVMSG host :show",
         ":al!a@h NOTICE host :not for the observer"});
    EXPECT_EQ(private_,
              (Lines{"al!a@h [alice] start", tagged ? "al!a@h [] stop" : "al!a@h [alice] stop",
                     "al!a@h [] show"}))
        << tagged;
    client_->SendNotice("al", "state\nline two");
    loop_.DispatchPending();
    EXPECT_EQ(Privmsgs(), (Lines{"al state", "al line two"}));
    client_.reset();
  }
}

// Untagged, on a WHOX server: a channel's accounts are asked for on joining
// ("0": logged out), and a private message from a sender not known waits
// for a WHO of them; strangers are looked up 8 at a time, 4 messages each.
TEST_F(IrcClientTest, LooksUpAccountsWithWhox) {
  Make();
  WatchPrivate();
  Say({":srv 001 host :Welcome", ":srv 005 host WHOX :are supported"});
  server_.Take();
  const std::vector<std::pair<std::string, std::vector<std::string>>> steps = {
      {":host!u@h JOIN #battles", {"WHO #battles %tna,801"}},
      {":srv 354 host 801 Al alice", {}},
      {":srv 354 host 801 bo 0", {}},
      {":al!a@h PRIVMSG host :start", {"al!a@h [alice] start"}},
      {":bo!b@h PRIVMSG host :stop", {"WHO bo %tna,802"}},
      {":srv 354 host 802 BO bob", {}},
      {":srv 315 host bo :End of /WHO list.", {"bo!b@h [bob] stop"}}};
  for (const auto& [said, then] : steps) {
    private_.clear();
    server_.Say(said);
    std::vector<std::string> out = server_.Take();
    out.insert(out.end(), private_.begin(), private_.end());
    EXPECT_EQ(out, then) << said;
  }
  private_.clear();
  for (int i = 0; i < 13; ++i) {  // n0 says five lines, n1 to n8 one each
    server_.Say(":n" + std::to_string(std::max(0, i - 4)) + "!x@h PRIVMSG host :m");
  }
  EXPECT_EQ(private_, (Lines{"n8!x@h [] m"}));
  server_.Say(":srv 315 host n0 :End of /WHO list.");
  loop_.Wait(31 * kSecond);  // n1 to n7 unanswered: logged out
  EXPECT_EQ(private_.size(), 1u + 4 + 7);
  EXPECT_EQ(server_.Take().size(), 8u);
}

// Several channels on one link: each is joined (with its key) and hears its
// own lines; the bucket's tokens go to the queues in turn (round robin).
TEST_F(IrcClientTest, ChannelsShareTheLinkFairly) {
  IrcClientSettings settings;
  settings.more_channels = {{"#two", "sesame"}, {"#three", ""}};
  Make(settings);
  client_->channel(2).Subscribe([this](const std::string& who, const std::string& text) {
    heard_.push_back("2 " + who + text);
  });
  server_.Say(":srv 001 host :Welcome");
  EXPECT_EQ(std::vector<std::string>(server_.lines.end() - 3, server_.lines.end()),
            (Lines{"JOIN #battles", "JOIN #two sesame", "JOIN #three"}));
  Say({":host!u@h JOIN #battles", ":host!u@h JOIN #TWO", ":host!u@h JOIN #three",
       ":a!a@h PRIVMSG #two :-join", ":b!b@h PRIVMSG #battles :hi", ":c!c@h PRIVMSG #Three :-join",
       ":d!d@h PRIVMSG #four :lost"});
  EXPECT_EQ(heard_, (Lines{"b: hi", "2 c-join"}));
  server_.Take();
  // Backlogs (queued from tasks, as nested ChatSends would): the burst goes
  // in order, then the queues take turns from the one after the last served.
  using Backlog = std::vector<std::pair<std::size_t, int>>;  // queue 3: notices
  for (const auto& [queue, lines] : Backlog{{0, 5}, {1, 2}, {3, 1}}) {
    for (int n = 1; n <= lines; ++n) {
      loop_.Post([this, queue = queue, text = "l" + std::to_string(n)] {
        if (queue == 3) return client_->SendNotice("op", text);
        client_->channel(queue).ChatSend(text);
      });
    }
  }
  loop_.Wait(20 * kSecond);
  EXPECT_EQ(Privmsgs(), (Lines{"#battles l1", "#battles l2", "#battles l3", "#battles l4",
                               "#two l1", "op l1", "#battles l5", "#two l2"}));
  // A kicked channel's lines wait; caller-ID is set while every channel's IMs are off.
  server_.Say(":op!o@h KICK #two host :out");
  loop_.Post([this] { client_->channel(1).ChatSend("waits"); });
  loop_.Post([this] { client_->channel(2).ChatSend("goes"); });
  loop_.Wait(3 * kSecond);
  server_.Say(":srv 005 host CALLERID=g :are supported");
  for (std::size_t i : {0, 1, 2}) client_->channel(i).InstantMessagesOff();
  client_->channel(1).InstantMessagesOn();
  EXPECT_EQ(server_.Take(), (Lines{"PRIVMSG #three goes", "MODE host +g", "MODE host -g"}));
  EXPECT_EQ(client_->channel(1).queued(), 1u);
}

}  // namespace
}  // namespace zorvik
