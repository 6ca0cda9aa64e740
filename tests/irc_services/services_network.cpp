#include "services_network.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace zorvik::irc_test {

namespace {

const char kServer[] = "/usr/sbin/inspircd";
const char kServices[] = "/usr/bin/atheme-services";

std::string Tail(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return LastLines(path, lines, 15);
}

}  // namespace

ServicesNetwork::ServicesNetwork() {
  char pattern[] = "/tmp/zorvik-services-XXXXXX";
  dir_ = mkdtemp(pattern);
}

ServicesNetwork::~ServicesNetwork() {
  Stop(services_);
  Stop(server_);
  std::system(("rm -rf " + dir_).c_str());
}

bool ServicesNetwork::Installed() {
  return access(kServer, X_OK) == 0 && access(kServices, X_OK) == 0;
}

void ServicesNetwork::WriteConfigs(int link_port) const {
  // The connect class keeps the server's default flood limits; only the
  // clone limits are raised, as every test client comes from 127.0.0.1.
  std::ofstream server(dir_ + "/inspircd.conf");
  server << "<server name=\"irc.test\" description=\"zorvik test server\" network=\"zorviknet\" "
            "id=\"001\">\n<admin name=\"test\" nick=\"test\" email=\"test@test.invalid\">\n"
         << "<bind address=\"127.0.0.1\" port=\"" << port_ << "\" type=\"clients\">\n"
         << "<bind address=\"127.0.0.1\" port=\"" << link_port << "\" type=\"servers\">\n"
         << "<connect allow=\"*\" resolvehostnames=\"no\" localmax=\"100\" globalmax=\"100\">\n";
  for (const char* module : {"spanningtree", "services_account", "sasl", "cap", "ircv3",
                             "ircv3_accounttag", "ircv3_capnotify", "svshold"}) {
    server << "<module name=\"" << module << "\">\n";
  }
  server << "<link name=\"services.test\" ipaddr=\"127.0.0.1\" port=\"" << link_port
         << "\" allowmask=\"127.0.0.0/8\" sendpass=\"linkpw\" recvpass=\"linkpw\">\n"
         << "<uline server=\"services.test\" silent=\"yes\">\n<sasl target=\"services.test\">\n"
         << "<pid file=\"" << dir_ << "/inspircd.pid\">\n"
         << "<log method=\"file\" type=\"* -USERINPUT -USEROUTPUT\" level=\"default\" target=\""
         << dir_ << "/inspircd.log\">\n";

  // Registration by NickServ at once: no mail to confirm, no rate limit to
  // wait out, no flood protection against the tests' retries.
  std::ofstream services(dir_ + "/atheme.conf");
  for (const char* module :
       {"protocol/inspircd", "backend/opensex", "crypto/pbkdf2v2", "nickserv/main",
        "nickserv/register", "nickserv/identify", "saslserv/main", "saslserv/plain"}) {
    services << "loadmodule \"modules/" << module << "\";\n";
  }
  services << "serverinfo { name = \"services.test\"; desc = \"zorvik test services\"; "
              "numeric = \"00A\"; recontime = 1; netname = \"zorviknet\"; "
              "hidehostsuffix = \"users.test\"; adminname = \"test\"; "
              "adminemail = \"test@test.invalid\"; registeremail = \"noreply@test.invalid\"; "
              "mta = \"/bin/true\"; loglevel = { error; info; }; maxlogins = 5; maxusers = 50; "
              "mdlimit = 30; emaillimit = 10; emailtime = 300; auth = none; "
              "casemapping = rfc1459; };\n"
           << "uplink \"irc.test\" { host = \"127.0.0.1\"; password = \"linkpw\"; port = "
           << link_port << "; };\n"
           << "nickserv { nick = \"NickServ\"; user = \"NickServ\"; host = \"services.test\"; "
              "real = \"Nickname Services\"; maxnicks = 5; expire = 30; };\n"
           << "saslserv { nick = \"SaslServ\"; user = \"SaslServ\"; host = \"services.test\"; "
              "real = \"SASL Authentication Agent\"; };\n"
           << "general { ratelimit_uses = 1000; ratelimit_period = 60; flood_msgs = 0; "
              "flood_time = 10; kline_time = 7; clone_time = 0; commit_interval = 5; };\n";
}

bool ServicesNetwork::StartServer() {
  // A port that was free when asked may be taken before the server binds
  // it, and the server then runs without it: try again on other ports.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    int link_port = FreePort();
    while (link_port == port_) link_port = FreePort();
    WriteConfigs(link_port);
    server_ = Spawn({kServer, "--nofork", "--runasroot", "--config", dir_ + "/inspircd.conf"},
                    dir_ + "/inspircd.out");
    if (Listens(server_, {port_, link_port}, 5)) return true;
    Stop(server_);
  }
  return false;
}

bool ServicesNetwork::Start(std::string& problem) {
  if (!StartServer()) {
    problem = "inspircd did not take connections\n" + Logs();
    return false;
  }
  services_ = Spawn({kServices, "-n", "-c", dir_ + "/atheme.conf", "-D", dir_, "-l",
                     dir_ + "/atheme.log", "-p", dir_ + "/atheme.pid"},
                    dir_ + "/atheme.out");
  TestClient probe("probe");
  if (AskNickServ(probe, "HELP").empty()) {
    problem = "the services did not link and answer\n" + Logs();
    return false;
  }
  return true;
}

std::string ServicesNetwork::AskNickServ(TestClient& client, const std::string& text) {
  Scene scene;
  scene.Add(client);
  if (!client.Open(port_) || !scene.Until([&] { return client.registered(); }, 10)) return {};
  std::string answer;
  std::size_t seen = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(15);
  while (answer.empty() && Clock::now() < deadline && !Ended(services_)) {
    client.Send("PRIVMSG NickServ :" + text);
    bool unknown = false;
    scene.Until(
        [&] {
          for (; seen < client.raw.size(); ++seen) {
            const std::string& line = client.raw[seen];
            std::istringstream words(line);
            std::string prefix, command;
            words >> prefix >> command;
            if (command == "401") unknown = true;
            if (prefix.starts_with(":NickServ!") && command == "NOTICE") answer = line;
          }
          return unknown || !answer.empty();
        },
        5);
    if (unknown) scene.For(0.3);
  }
  return answer;
}

bool ServicesNetwork::Register(const std::string& account, const std::string& password) {
  TestClient client(account);
  const std::string answer =
      AskNickServ(client, "REGISTER " + password + " " + account + "@test.invalid");
  client.Send("QUIT");
  return answer.find(" is now registered") != std::string::npos;
}

std::string ServicesNetwork::Logs() const {
  return Tail(dir_ + "/inspircd.out") + Tail(dir_ + "/inspircd.log") + Tail(dir_ + "/atheme.out");
}

}  // namespace zorvik::irc_test
