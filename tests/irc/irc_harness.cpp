#include "irc_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zorvik::irc_test {

namespace {

const Clock::time_point kStart = Clock::now();

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool CanConnect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(port);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// Runs `argv` (a path, or a name found on PATH) in a child process reading
// `in` and writing its output and errors to `out`.
pid_t Run(const std::vector<std::string>& argv, int in, int out) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  dup2(in, 0);
  dup2(out, 1);
  dup2(out, 2);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void SplitLines(std::string& partial, std::vector<std::string>& lines) {
  std::size_t newline;
  while ((newline = partial.find('\n')) != std::string::npos) {
    std::string line = partial.substr(0, newline);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    partial.erase(0, newline + 1);
  }
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    unsigned group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

}  // namespace

pid_t Spawn(const std::vector<std::string>& argv, const std::string& log) {
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const pid_t pid = Run(argv, in, out);
  close(in);
  close(out);
  return pid;
}

bool Listens(pid_t& pid, const std::vector<int>& ports, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(seconds));
  while (Clock::now() < deadline && !Ended(pid)) {
    if (std::all_of(ports.begin(), ports.end(), CanConnect)) return true;
    usleep(20'000);
  }
  return false;
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

bool Ended(pid_t& pid) {
  if (pid <= 0 || waitpid(pid, nullptr, WNOHANG) != pid) return pid <= 0;
  pid = -1;
  return true;
}

std::string LastLines(const std::string& heading, const std::vector<std::string>& lines,
                      std::size_t count) {
  std::string text = "--- " + heading + ":\n";
  for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
    text += lines[i] + "\n";
  return text;
}

double Elapsed() {
  return std::chrono::duration<double>(Clock::now() - kStart).count();
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

Child::Child(const std::vector<std::string>& argv) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
  pid_ = Run(argv, in[0], out[1]);
  close(in[0]);
  close(out[1]);
  in_ = in[1];
  out_ = out[0];
  fcntl(out_, F_SETFL, O_NONBLOCK);
}

Child::~Child() {
  Kill();
  if (in_ >= 0) close(in_);
  if (out_ >= 0) close(out_);
}

void Child::Write(std::string_view text) {
  while (!text.empty() && in_ >= 0) {
    const ssize_t wrote = write(in_, text.data(), text.size());
    if (wrote <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(wrote));
  }
}

int Child::ExitStatus() {
  int status = 0;
  if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return -1;
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

long Child::RssKib() const {
  if (pid_ <= 0) return 0;
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

void Child::Drain() {
  char buffer[65536];
  ssize_t got;
  while ((got = read(out_, buffer, sizeof buffer)) > 0) {
    partial_.append(buffer, static_cast<std::size_t>(got));
  }
  SplitLines(partial_, lines);
}

bool Child::Printed(std::string_view part, std::size_t from) const {
  return std::any_of(lines.begin() + static_cast<long>(std::min(from, lines.size())), lines.end(),
                     [&](const std::string& line) { return line.find(part) != line.npos; });
}

Ngircd::Ngircd() {
  char pattern[] = "/tmp/zorvik-ngircd-XXXXXX";
  dir_ = mkdtemp(pattern);
  // ngircd drops to "nobody" once started: it must be able to read here.
  chmod(dir_.c_str(), 0755);
  port_ = FreePort();
  tls_port_ = FreePort();
  while (tls_port_ == port_) tls_port_ = FreePort();
  const std::string make_certificate =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
      "-addext subjectAltName=IP:127.0.0.1 -keyout " +
      dir_ + "/key.pem -out " + dir_ + "/cert.pem >/dev/null 2>&1";
  if (std::system(make_certificate.c_str()) != 0) std::fprintf(stderr, "openssl failed\n");
  chmod((dir_ + "/key.pem").c_str(), 0644);
  std::ofstream config(dir_ + "/ngircd.conf");
  config << "[Global]\nName = irc.test\nInfo = zorvik test server\nListen = 127.0.0.1\n"
         << "Ports = " << port_ << "\nMotdPhrase = test\nAdminInfo1 = test\nAdminInfo2 = test\n"
         << "AdminEMail = test@test\n"
         << "[Limits]\nMaxConnectionsIP = 0\nPingTimeout = 120\nPongTimeout = 20\n"
         << "[Options]\nPAM = no\nIdent = no\nDNS = no\n"
         << "[Operator]\nName = flood\nPassword = floodpw\n"
         << "[SSL]\nCertFile = " << dir_ << "/cert.pem\nKeyFile = " << dir_ << "/key.pem\n"
         << "Ports = " << tls_port_ << "\n";
}

Ngircd::~Ngircd() {
  Kill();
  std::system(("rm -rf " + dir_).c_str());
}

bool Ngircd::Start() {
  Kill();
  pid_ = Spawn({"ngircd", "-n", "-f", dir_ + "/ngircd.conf"}, dir_ + "/ngircd.log");
  return Listens(pid_, {port_, tls_port_}, 10);
}

bool TestClient::Open(int port, const char* from) {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  inet_pton(AF_INET, from, &address.sin_addr);
  if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    Close();
    return false;
  }
  address = Loopback(port);
  if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    Close();
    return false;
  }
  fcntl(fd_, F_SETFL, O_NONBLOCK);
  registered_ = logged_in_ = in_channel_ = false;
  partial_.clear();
  // The server holds the registration back until CAP END.
  if (!sasl_account_.empty()) Send("CAP REQ :sasl");
  Send("NICK " + nick_);
  Send("USER " + nick_ + " 0 * :zorvik test player");
  return true;
}

void TestClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  registered_ = logged_in_ = in_channel_ = false;
}

void TestClient::Send(std::string_view line) {
  if (fd_ < 0) return;
  std::string wire = std::string(line) + "\r\n";
  std::string_view rest = wire;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!rest.empty() && Clock::now() < deadline) {
    const ssize_t sent = send(fd_, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      rest.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno == EAGAIN) {
      pollfd wait{fd_, POLLOUT, 0};
      poll(&wait, 1, 100);
    } else {
      return;
    }
  }
}

void TestClient::Pump() {
  if (fd_ < 0) return;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
      Close();
      break;
    }
    if (got < 0) break;
    partial_.append(buffer, static_cast<std::size_t>(got));
  }
  std::vector<std::string> lines;
  SplitLines(partial_, lines);
  for (std::string& line : lines) {
    std::istringstream words(line);
    std::string prefix, command, target;
    words >> prefix;
    if (prefix == "PING") {
      Send("PONG " + line.substr(5));
      continue;
    }
    words >> command >> target;
    const std::string nick = prefix.substr(1, prefix.find('!') - 1);
    if (command == "001") registered_ = true;
    if (command == "CAP" && line.find(" ACK ") != std::string::npos) Send("AUTHENTICATE PLAIN");
    if (prefix == "AUTHENTICATE") {
      Send("AUTHENTICATE " + Base64(sasl_account_ + '\0' + sasl_account_ + '\0' + sasl_password_));
    }
    if (command == "900") logged_in_ = true;
    if (command == "903" || command == "904") Send("CAP END");
    if (command == "JOIN" && nick == nick_) in_channel_ = true;
    if (command == "PRIVMSG" && !target.empty() && target[0] == '#') {
      const std::size_t colon = line.find(" :");
      heard.push_back(
          Heard{Elapsed(), nick, colon == std::string::npos ? "" : line.substr(colon + 2), target});
    }
    raw.push_back(std::move(line));
  }
}

long TestClient::Count(std::string_view start, std::initializer_list<std::string_view> parts,
                       std::size_t from) const {
  return std::count_if(raw.begin() + static_cast<long>(std::min(from, raw.size())), raw.end(),
                       [&](const std::string& line) {
                         std::size_t at = 0;
                         for (std::string_view part : parts) {
                           if ((at = line.find(part, at)) == std::string::npos) return false;
                         }
                         return line.starts_with(start);
                       });
}

void Scene::Add(TestClient& client) {
  if (std::find(clients_.begin(), clients_.end(), &client) == clients_.end())
    clients_.push_back(&client);
}

void Scene::PumpOnce(int timeout_ms) {
  std::vector<pollfd> fds;
  for (TestClient* client : clients_) {
    if (client->fd() >= 0) fds.push_back(pollfd{client->fd(), POLLIN, 0});
  }
  for (Child* child : children_) {
    if (child->out_fd() >= 0) fds.push_back(pollfd{child->out_fd(), POLLIN, 0});
  }
  poll(fds.data(), fds.size(), timeout_ms);
  for (TestClient* client : clients_) client->Pump();
  for (Child* child : children_) child->Drain();
  if (tick_) tick_();
}

bool Scene::Until(const std::function<bool()>& done, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(seconds));
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    PumpOnce(10);
  }
  return true;
}

std::optional<std::string> HostWatch::Next(const std::function<bool(const std::string&)>& match,
                                           double seconds, const std::string& channel) {
  std::optional<std::string> found;
  scene.Until(
      [&] {
        while (!found && cursor < watcher.heard.size()) {
          const Heard& heard = watcher.heard[cursor++];
          if (heard.nick == host && (channel.empty() || heard.channel == channel) &&
              match(heard.text)) {
            found = heard.text;
          }
        }
        return found.has_value();
      },
      seconds);
  return found;
}

bool HostShows(Scene& scene, Child& host, const std::string& field, const std::string& part,
               double seconds, const std::string& before) {
  const std::size_t asked = host.lines.size();
  Clock::time_point ask = Clock::now();
  return scene.Until(
      [&] {
        if (Clock::now() >= ask) {  // again four times a second
          host.Write(before + "show\n");
          ask = Clock::now() + std::chrono::milliseconds(250);
        }
        for (std::size_t i = host.lines.size(); i > asked; --i) {  // the latest state
          const std::string& line = host.lines[i - 1];
          const std::size_t at = line.find(field);
          if (!line.starts_with("[console]") || at == std::string::npos) continue;
          return line.substr(at, line.find(" | ", at) - at).find(part) != std::string::npos;
        }
        return false;
      },
      seconds);
}

bool HostListening(Scene& scene, Child& host, int n, double seconds, const std::string& before) {
  // What `show` says each of Chat1 ... Chat5 listens for.
  static const std::string kHeard[] = {"joins", "player 1's pick", "player 2's pick",
                                       "player 1's attack", "player 2's attack"};
  return HostShows(scene, host, "listening for:", kHeard[n - 1], seconds, before);
}

int NextTurn(HostWatch& said, Child& host, double seconds) {
  const std::string alice = "-=|[alice choose your attack]|=-";
  const std::string bob = "-=|[bob choose your attack]|=-";
  const std::optional<std::string> line = said.Next(
      [&](const std::string& text) {
        return text == alice || text == bob || text.find(" defeated ") != std::string::npos;
      },
      seconds);
  const int turn = !line ? -1 : *line == alice ? 1 : *line == bob ? 2 : 0;
  if (turn > 0 && !HostListening(said.scene, host, turn + 3, seconds)) return -1;
  return turn;
}

const std::vector<MatchStep> kMatchOpening = {
    {"", 0, 0, "get players"},
    {"-=|[type: -join]=-", 1, 1, "-join"},
    {"-=|[alice has joined the game]|=-", 0, 2, "-join"},
    {"-=|[no more space for players]|=-", 0, 0, "setup"},
    {"-=|[alice enter your zorvik first]|=-", 2, 1, "/pikachu"},
    {"-=|[bob type in a valid zorvik name]|=-", 3, 2, "/bulbasaur"},
    {"-=|[bob will use bulbasaur 500/500]|=-", 0, 0, "start"},
};
const std::vector<MatchStep> kTwoAttackMatch = [] {
  std::vector<MatchStep> steps = kMatchOpening;
  steps.push_back({"-=|[alice choose your attack]|=-", 4, 1, "/thundershock"});
  steps.push_back({"-=|[bob choose your attack]|=-", 5, 2, "/tackle"});
  steps.push_back({"-=|[alice choose your attack]|=-", 0, 0, "stop"});
  return steps;
}();

std::string PlayInterleaved(HostWatch& said, Child& host, const std::vector<std::string>& channels,
                            const std::vector<MatchStep>& steps,
                            const std::function<void(const std::string&, const MatchStep&)>& act) {
  std::vector<std::size_t> cursors(channels.size(), said.cursor);
  for (const MatchStep& step : steps) {
    for (std::size_t i = 0; i < channels.size(); ++i) {
      said.cursor = cursors[i];
      const std::string& channel = channels[i];
      const std::string before = channels.size() > 1 ? "channel " + channel + "\n" : "";
      if (!step.when.empty() && !said.Says(step.when, 30, channel))
        return channel + ": " + step.when;
      if (step.listener && !HostListening(said.scene, host, step.listener, 30, before)) {
        return channel + ": Chat" + std::to_string(step.listener) + " off";
      }
      cursors[i] = said.cursor;
      act(channel, step);
    }
  }
  return {};
}

void UntilQuiet(HostWatch& said) {
  for (std::size_t before = 0; before != said.watcher.heard.size(); said.scene.For(3)) {
    before = said.watcher.heard.size();
  }
}

std::vector<std::string> HostLinesIn(const HostWatch& said, const std::string& channel,
                                     std::size_t from) {
  std::vector<std::string> lines;
  for (std::size_t i = from; i < said.watcher.heard.size(); ++i) {
    const Heard& heard = said.watcher.heard[i];
    if (heard.nick == said.host && heard.channel == channel) lines.push_back(heard.text);
  }
  return lines;
}

}  // namespace zorvik::irc_test
