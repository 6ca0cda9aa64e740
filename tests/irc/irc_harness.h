// What the IRC integration tests stand on: a real ngircd started on free
// loopback ports with a config (and, for TLS, a certificate) written to a
// temporary folder; child processes with piped input and output (the host,
// sic); a small IRC client of the tests' own; and a Scene that pumps all of
// them until a condition holds or a deadline passes. Every wait is bounded;
// nothing here sleeps blindly.
//
// Deliberately independent of the program's own IRC code, so that the
// tests do not trust what they test.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::irc_test {

using Clock = std::chrono::steady_clock;

// Seconds since the process started, for reports.
double Elapsed();

// A free TCP port on 127.0.0.1 (free when asked; ngircd takes it at once).
int FreePort();

// Runs `argv` (a path, or a name found on PATH) with no input and its
// output and errors appended to the file `log`.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& log);
// Waits until `pid` takes connections on every one of `ports`; false once
// it has ended or `seconds` have passed.
bool Listens(pid_t& pid, const std::vector<int>& ports, double seconds);
// Kills and reaps `pid` if it was started, and forgets it.
void Stop(pid_t& pid);
// Whether `pid` has ended (and is reaped) or was never started.
bool Ended(pid_t& pid);
// The last `count` of `lines` under a heading, for a failure's report.
std::string LastLines(const std::string& heading, const std::vector<std::string>& lines,
                      std::size_t count);

class Child {
 public:
  // Runs `argv` with stdin and stdout (stderr merged) as pipes.
  explicit Child(const std::vector<std::string>& argv);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  void Write(std::string_view text);
  void Kill() { Stop(pid_); }
  // The exit status once the child has ended (and is reaped), else -1.
  int ExitStatus();
  pid_t pid() const { return pid_; }
  int out_fd() const { return out_; }
  // Resident memory in KiB, 0 once gone.
  long RssKib() const;
  // Reads what is there without blocking and splits it into lines.
  void Drain();
  std::vector<std::string> lines;
  // Whether some line (from `from` on) contains `part`.
  bool Printed(std::string_view part, std::size_t from = 0) const;

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string partial_;
};

class Ngircd {
 public:
  // Writes the config (plain port, TLS port with a fresh certificate, an
  // operator "flood" with relaxed flood protection allowed).
  Ngircd();
  ~Ngircd();
  Ngircd(const Ngircd&) = delete;
  Ngircd& operator=(const Ngircd&) = delete;

  // Starts the server (again, on the same ports) and waits until it takes
  // connections on both. False if it does not within 10 s.
  bool Start();
  void Kill() { Stop(pid_); }

  int port() const { return port_; }
  int tls_port() const { return tls_port_; }
  // The self-signed certificate, to be trusted as a CA.
  std::string certificate() const { return dir_ + "/cert.pem"; }

 private:
  std::string dir_;
  int port_ = 0;
  int tls_port_ = 0;
  pid_t pid_ = -1;
};

struct Heard {
  double at;  // Elapsed() when it arrived
  std::string nick, text;
  std::string channel;  // where it was said
};

class TestClient {
 public:
  explicit TestClient(std::string nick) : nick_(std::move(nick)) {}
  ~TestClient() { Close(); }
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  // From the next Open on, logs in to `account` with SASL PLAIN before
  // registering (the server must offer it); logged_in() says when it has.
  void UseSasl(std::string account, std::string password) {
    sasl_account_ = std::move(account);
    sasl_password_ = std::move(password);
  }
  // Connects (from loopback address `from`, another host to the server)
  // and sends the registration; Scene waits for registered().
  bool Open(int port, const char* from = "127.0.0.1");
  void Close();
  void Send(std::string_view line);  // CR LF added
  void Say(const std::string& channel, const std::string& text) {
    Send("PRIVMSG " + channel + " :" + text);
  }
  // Reads what is there; answers PING; records channel lines.
  void Pump();

  int fd() const { return fd_; }
  bool registered() const { return registered_; }
  bool logged_in() const { return logged_in_; }
  bool InChannel() const { return in_channel_; }
  const std::string& nick() const { return nick_; }
  // How many lines from the server, from line `from` on, start with `start`
  // and hold each of `parts`, one after the other.
  long Count(std::string_view start, std::initializer_list<std::string_view> parts,
             std::size_t from = 0) const;
  long Count(std::string_view start, std::string_view part, std::size_t from = 0) const {
    return Count(start, {part}, from);
  }
  // How many notices from `sender` to this client, from line `from` on,
  // hold `part`.
  long Noticed(const std::string& sender, std::string_view part = {}, std::size_t from = 0) const {
    return Count(":" + sender + "!", {" NOTICE " + nick_ + " :", part}, from);
  }
  std::vector<Heard> heard;      // PRIVMSGs to channels, in order
  std::vector<std::string> raw;  // every line from the server

 private:
  std::string nick_;
  int fd_ = -1;
  bool registered_ = false;
  bool logged_in_ = false;
  bool in_channel_ = false;
  std::string partial_, sasl_account_, sasl_password_;
};

class Scene {
 public:
  // Pumps `client` from now on (once, however often added).
  void Add(TestClient& client);
  void Add(Child& child) { children_.push_back(&child); }
  // Pumps everything until `done` holds (true) or `seconds` pass (false).
  bool Until(const std::function<bool()>& done, double seconds);
  // Pumps for `seconds`, whatever happens.
  void For(double seconds) { Until([] { return false; }, seconds); }
  // Called after every pump, e.g. to keep up a flood.
  void SetTick(std::function<void()> tick) { tick_ = std::move(tick); }

 private:
  void PumpOnce(int timeout_ms);
  std::vector<TestClient*> clients_;
  std::vector<Child*> children_;
  std::function<void()> tick_;
};

// The host's channel lines as `watcher` hears them, read in order from
// `cursor`, which each wait moves past what it found. `channel` empty means
// any channel.
struct HostWatch {
  Scene& scene;
  const TestClient& watcher;
  std::string host;
  std::size_t cursor = 0;

  // Waits for the host's next line in `channel` that `match` accepts, and
  // returns it; nothing once `seconds` have passed.
  std::optional<std::string> Next(const std::function<bool(const std::string&)>& match,
                                  double seconds, const std::string& channel = {});
  // Waits for the host's next line in `channel` containing `part`.
  bool Says(const std::string& part, double seconds, const std::string& channel = {}) {
    return Next([&](const std::string& text) { return text.find(part) != text.npos; }, seconds,
                channel)
        .has_value();
  }
};

// Asks the host's terminal `show` (after `before`, e.g. a channel switch)
// again and again until the console's latest state holds `part` in its
// `field` ("buttons:" or "listening for:"); false once `seconds` have passed.
bool HostShows(Scene& scene, Child& host, const std::string& field, const std::string& part,
               double seconds, const std::string& before = {});

// Waits until the host's terminal says listener ChatN is on (1: joins, 2
// and 3: the players' picks, 4 and 5: their attacks). The host switches a
// listener on after its prompt's pause, so a player who answers faster
// than a person would is not heard; the tests' players wait for it.
bool HostListening(Scene& scene, Child& host, int n, double seconds,
                   const std::string& before = {});

// Waits for alice's or bob's prompt and then for that player's listener: 1
// or 2 for whose turn it is, 0 once the battle is won, -1 if either never
// comes within `seconds`.
int NextTurn(HostWatch& said, Child& host, double seconds);

// Once the host has said `when` (empty: at once) and listens with
// Chat`listener` (0: no need), `player` (1 alice, 2 bob, 0 the operator)
// says or presses `what`.
struct MatchStep {
  std::string when;
  int listener, player;
  std::string what;
};
// Alice's pikachu against bob's bulbasaur, up to "start"; then the whole
// match, stopped after an attack each.
extern const std::vector<MatchStep> kMatchOpening;
extern const std::vector<MatchStep> kTwoAttackMatch;

// Plays `steps` in all `channels` at once, each step in one channel and
// then the next, `act` making the moves, each channel's lines looked for
// from `said`'s cursor on. Returns what never came, or empty.
std::string PlayInterleaved(HostWatch& said, Child& host, const std::vector<std::string>& channels,
                            const std::vector<MatchStep>& steps,
                            const std::function<void(const std::string&, const MatchStep&)>& act);
// Waits until the host has said all it had queued.
void UntilQuiet(HostWatch& said);
// The host's lines in `channel`, as the watcher heard them from line `from` on.
std::vector<std::string> HostLinesIn(const HostWatch& said, const std::string& channel,
                                     std::size_t from);

}  // namespace zorvik::irc_test
